#pragma once

#include <QString>
#include <QUrl>

// The maker's web addresses, the installer's address and the installed lobby program.
// The maker's domain is a reserved example domain until the real one is chosen, so
// that no build ever fetches or runs an installer from a server we do not control.
namespace WebLinks {

// The maker's home page (the about window's link and the main window's logo).
QUrl homePage();
// The page about the solo version of the game.
QUrl soloPage();

// The lobby's installer. The WENDLEWICK_DOWNLOAD_URL environment variable, when it
// holds an http or https address, replaces the built-in one.
QUrl downloadAddress();
// Whether WENDLEWICK_DOWNLOAD_URL names the installer.
bool downloadAddressGiven();

// Whether `address` can lead anywhere: false for an address in the reserved example
// domains, which stand in for the maker's web site until it is chosen.
bool isReachable(const QUrl &address);

// The name the installer is saved under: the last segment of the address's path.
// Query and fragment are ignored; an address whose path ends in "/", or whose last
// segment could name another folder ("..", a slash or backslash), gives
// defaultInstallerName().
QString installerFileName(const QUrl &address);
QString defaultInstallerName();

// The lobby program "Play with Others" starts: WENDLEWICK_LOBBY_PATH when set, else
// wendlewick-lobby beside the game, else on PATH; empty when there is none.
QString lobbyProgramPath();

} // namespace WebLinks
