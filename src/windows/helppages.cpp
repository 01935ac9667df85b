#include "helppages.h"

#include "appversion.h"
#include "gameports.h"

namespace {

QString overview()
{
    return QStringLiteral(R"(
<h2>Welcome to Wendlewick</h2>
<p>Wendlewick is a race against the clock, and against up to nine other players, to
find the words hidden in a board of letter tiles.</p>
<p>In every round all players see the same board, from 4&times;4 up to 10&times;10
tiles. Build a word by chaining tiles together: each tile must touch the one before
it &mdash; beside it, above or below it, or on a diagonal &mdash; and no tile may be
used twice in the same word. A word has from three to twelve letters and must be in
the game's English word list of more than 160,000 words.</p>
<p>Longer words score more, and whoever finds a word first in a round earns a bonus
point. Rounds last from 45 seconds to three minutes. The game ends after the round in
which a player has reached the target score and leads alone.</p>
<p>After every round the <b>Words List</b> shows every word that anyone found, so you
can see what you missed. Between rounds there is time to chat, to cheer with the
quick-phrase buttons and the chatter sounds, or to check your head-to-head record
against the others in the tally (<i>View &rarr; View Tally</i>).</p>
<p>Started on its own, Wendlewick sets up a solo game on your computer, which is the
best way to practise. To play against other people, use Wendlewick Lobby.</p>
<p class="tip">Press <b>F1</b> at any time to come back to this help.</p>
)");
}

QString connecting()
{
    return QStringLiteral(R"(
<h3>Solo play</h3>
<p>Started on its own, Wendlewick hosts a private game on your own computer (address
127.0.0.1) and you can play straight away, with no internet connection at all. The
game still talks to itself through the computer's network components, so if your
firewall asks, allow Wendlewick to use the network: otherwise the solo game cannot
start.</p>
<h3>Playing with others</h3>
<p>Games with other people are found in <b>Wendlewick Lobby</b>. Pick a game there
and the lobby starts Wendlewick for you, with your name and the address of the player
who hosts the game. The host's computer runs the game itself; everyone else connects
to it.</p>
<h3>Hosting a game</h3>
<p>The host's computer must accept incoming TCP connections on <b>port %1</b>. If
you are behind a router, forward port %1 to your computer, and let Wendlewick
through your firewall. Players who join a game only need outgoing connections.</p>
<p>Without the lobby, Wendlewick can be started from a command line:</p>
<table class="keys">
<tr><td><code>wendlewick Anna 127.0.0.1 true</code></td><td>hosts a game as Anna</td></tr>
<tr><td><code>wendlewick Ben 192.168.1.20 false</code></td><td>joins the game hosted at 192.168.1.20 as Ben</td></tr>
</table>
<h3>When the host leaves</h3>
<p>The game lives on the host's computer. If the host closes Wendlewick or loses the
connection, the game ends for everyone and every player's Wendlewick closes. The same
happens to a player whom the host removes from the game, and to anyone who tries to
join a game that already has ten people in it.</p>
<p>All players should run the same version of Wendlewick. A player with a different
version can still play, but the chat tells everyone about it.</p>
)")
        .arg(GamePorts::game);
}

QString gamePlay()
{
    return QStringLiteral(R"(
<p>Words can be entered while the round clock runs. There are three ways to form
one:</p>
<ul>
<li><b>Drag</b> &mdash; press the mouse button on the first letter, sweep across the
tiles of the word and let go to send it. Aim for the middle of each tile: a diagonal
stroke can pass the corners of the tiles beside it.</li>
<li><b>Click</b> &mdash; with <i>Options &rarr; Click Letters</i> checked, click the
tiles one at a time, then press <b>Send</b> or click the board with the right mouse
button.</li>
<li><b>Type</b> &mdash; just type the word. Wendlewick finds the tiles for you, and if
the next letter does not fit where the word lies, it looks for another chain that
spells the whole word. A letter that no chain can add shows struck through in red
after your word, and so does everything you type after it: take it back with
Backspace, or clear the word with Escape.</li>
</ul>
<p>The letters of your word appear in the strip above the board. Click the last one
to take it off again.</p>
<h3>Buttons</h3>
<table class="keys">
<tr><td><b>Clear</b></td><td>empties the word you are building</td></tr>
<tr><td><b>Send</b></td><td>sends the word</td></tr>
<tr><td><b>Rotate</b></td><td>turns the board a quarter turn, which often shows new words</td></tr>
</table>
<h3>Typing keys</h3>
<table class="keys">
<tr><td><b>A</b> to <b>Z</b></td><td>add a letter</td></tr>
<tr><td><b>Backspace</b></td><td>remove the last letter</td></tr>
<tr><td><b>Return</b></td><td>send the word</td></tr>
<tr><td><b>1</b> or <b>Escape</b></td><td>clear the word</td></tr>
<tr><td><b>0</b> or <b>Ctrl+R</b></td><td>rotate the board</td></tr>
<tr><td><b>Tab</b></td><td>switch typing on and off</td></tr>
</table>
<p>The <b>TYPING ON</b> / <b>TYPING OFF</b> label above the board shows the switch
and can be clicked too. While typing is off, your keys go to the chat box, so you can
talk during a round. Typing is switched on again at the start of every round. Only the
digit keys of the main keyboard work; the keypad's digits do nothing.</p>
<h3>Options</h3>
<p><b>Disable Typing</b> makes the board ignore the keyboard altogether and hides the
typing switch. <b>Click Letters</b> chooses tiles by single clicks instead of
dragging.</p>
<h3>Starting a game</h3>
<p>The host starts a game with the <b>Start</b> button or <i>File &rarr; Start
Game</i> and chooses:</p>
<ul>
<li><b>Play to Score</b> &mdash; the score that wins, from 0 to 10,000. A score of 0
plays a single round: whoever leads after it wins.</li>
<li><b>Round Time</b> &mdash; 45 to 180 seconds.</li>
<li><b>Board Size</b> &mdash; 4&times;4 to 10&times;10, or <i>Random</i>, which picks
4&times;4, 6&times;6, 8&times;8 or 10&times;10 afresh every round.</li>
<li><b>Minimum Word Length</b> &mdash; 3 to 7 letters.</li>
</ul>
<p>The game ends at the end of a round in which a player has reached the target score
and leads alone; when two players share the lead, another round is played. The host
can choose the pause between rounds under <i>Options &rarr; Time Between Rounds</i>.
With <i>Options &rarr; Automatically Start Next Game</i> checked, a new game with the
same options starts by itself one minute after a game has been won.</p>
<h3>Watching</h3>
<p><i>Options &rarr; Just Watch</i> lets you sit out and watch; a pair of eyes shows
beside your name. The host can set or unset watching for any player, or remove a
player, by right-clicking the player's name. People who join only to watch are listed
under <i>View &rarr; Spy List</i>.</p>
<h3>After the round</h3>
<p>When a round ends, the Words List window shows the words found in it. Its
<b>Every Word</b> page lists every word the board held: those you found, those only
other players found, and those nobody found. The window then moves beside the board;
click a word (or move to it with the arrow keys) to see its tiles lit up on the board
and its meaning below the list. Meanings come from WordNet; if it is not installed,
the window says how to install it. The <b>This Game</b> page sums up every round of
the game, with the best word of each, and opens by itself when the game is won.</p>
<p>The window goes away when the next round starts. <i>View &rarr; Last Round's
Words</i> brings it back during that round.</p>
)");
}

QString scoring()
{
    return QStringLiteral(R"(
<p>Every word scores by its length. The first player in the round to find a word gets
one point more than everyone who finds it after them:</p>
<table class="points">
<tr><th>Letters</th><th>3</th><th>4</th><th>5</th><th>6</th><th>7</th><th>8</th><th>9</th><th>10</th><th>11</th><th>12</th></tr>
<tr><th>First to find</th><td>1</td><td>2</td><td>3</td><td>4</td><td>5</td><td>6</td><td>7</td><td>8</td><td>12</td><td>13</td></tr>
<tr><th>Found later</th><td>0</td><td>1</td><td>2</td><td>3</td><td>4</td><td>5</td><td>6</td><td>7</td><td>11</td><td>12</td></tr>
</table>
<p>Words shorter than the game's minimum length do not score, and each word counts
only once for each player in a round. The points of your last word show briefly
beside your name, and at the end of the round the points of the whole round.</p>
<h3>The colours of your words</h3>
<p>The panel beside the board lists every word you tried this round, in the colour of
its verdict:</p>
<table class="colours">
<tr><td style="color:#ffffc6">yellow</td><td>you were the first to find it</td></tr>
<tr><td style="color:#ffffff">white</td><td>accepted, but another player found it first</td></tr>
<tr><td style="color:#ff8000">orange</td><td>too short for this game</td></tr>
<tr><td style="color:#800000">maroon</td><td>you already tried it this round</td></tr>
<tr><td style="color:#000000">black</td><td>not a word in the word list</td></tr>
</table>
)");
}

QString documentation()
{
    return QStringLiteral(R"(
<h2>History</h2>
<p><b>Version )")
        + AppVersion::text() + QStringLiteral(R"(</b></p>
<ul>
<li>The Words List window shows every word found in the round.</li>
<li>The round clock turns red in the last twenty seconds and ticks as time runs out.</li>
<li>A download window offers The Orinco Lobby when Wendlewick is started on its own.</li>
</ul>
<p><b>Version 1.0.6</b></p>
<ul>
<li>New typing keys: Tab switches typing, 1 clears the word and 0 rotates the board.</li>
<li>Typed words move to another chain of tiles when the next letter does not fit.</li>
<li>A choice of two turn sounds.</li>
</ul>
<p><b>Version 1.0.5</b></p>
<ul>
<li>Just Watch, and the Spy List of the people watching.</li>
<li>The host can remove players from the game.</li>
</ul>
<p><b>Version 1.0.4</b></p>
<ul>
<li>The tally keeps your head-to-head record against every opponent.</li>
</ul>
<p><b>Version 1.0.3</b></p>
<ul>
<li>Quick-phrase buttons, with phrases of your own, and twenty chatter sounds.</li>
</ul>
<p><b>Version 1.0.2</b></p>
<ul>
<li>Boards of 5&times;5, 7&times;7 and 9&times;9 tiles, and Random board sizes.</li>
<li>Tile sets to choose from.</li>
</ul>
<p><b>Version 1.0.1</b></p>
<ul>
<li>A minimum word length for each game.</li>
</ul>
<p><b>Version 1.0.0</b></p>
<ul>
<li>First release.</li>
</ul>
)");
}

QString licence()
{
    return QStringLiteral(R"(
<p>Wendlewick is free software: you can redistribute it and/or modify it under the
terms of the GNU General Public License as published by the Free Software Foundation,
either version 3 of the License, or (at your option) any later version.</p>
<p>Wendlewick is distributed in the hope that it will be useful, but WITHOUT ANY
WARRANTY; without even the implied warranty of MERCHANTABILITY or FITNESS FOR A
PARTICULAR PURPOSE. See the GNU General Public License for more details. A copy of
the licence comes with the program (the file COPYING of its sources, and
/usr/share/common-licenses/GPL-3 on Debian); otherwise see
https://www.gnu.org/licenses/.</p>
<p>The lobby talks XMPP through the gloox library (GPL version 3), which is why the
whole program is under the GPL.</p>
<p>Playing online means exchanging your player name, chat and game moves with the
other players of a game, and the host of the game can see your network address. In a
community lobby everyone in the room reads the room's chat, and a game you host is
announced there with your address. Do not share anything in chat that you would not
want strangers to read.</p>
<p>Wendlewick's English word list is built from SCOWL (Spell Checker Oriented Word
Lists), which is free to use, copy and change under its own licence; the licence
comes with the program's sources.</p>
<p>The meanings of words come from WordNet, read from the copy installed on your
computer. WordNet 3.0 Copyright 2006 by Princeton University. All rights reserved.
THIS SOFTWARE AND DATABASE IS PROVIDED "AS IS" AND PRINCETON UNIVERSITY MAKES NO
REPRESENTATIONS OR WARRANTIES, EXPRESS OR IMPLIED. BY WAY OF EXAMPLE, BUT NOT
LIMITATION, PRINCETON UNIVERSITY MAKES NO REPRESENTATIONS OR WARRANTIES OF MERCHANT-
ABILITY OR FITNESS FOR ANY PARTICULAR PURPOSE OR THAT THE USE OF THE LICENSED
SOFTWARE, DATABASE OR DOCUMENTATION WILL NOT INFRINGE ANY THIRD PARTY PATENTS,
COPYRIGHTS, TRADEMARKS OR OTHER RIGHTS. The name of Princeton University or Princeton
may not be used in advertising or publicity pertaining to distribution of the
software and/or database. Title to copyright in this software, database and any
associated documentation shall at all times remain with Princeton University.</p>
)");
}

QString lobby()
{
    return QStringLiteral(R"(
<p><b>Wendlewick Lobby</b> (<code>wendlewick-lobby</code>) is where players find each
other: on the same network with nothing to type but a name, and on the internet in a
community's room.</p>
<ul>
<li><b>Play Solo</b> and <b>Host a Game</b> start Wendlewick for you; a game you host
appears in the lobby of everyone on your network.</li>
<li>Games on your network are listed as they appear: who hosts them, how many play
and watch, whether a game is running, the board and the target. Pick one and press
<b>Join</b> (or Enter), or type the host's name or address.</li>
<li>Before it starts Wendlewick the lobby checks the address, and tells you plainly
when nobody hosts a game there or the game is full.</li>
<li>While you play the lobby waits out of sight. When the game ends it comes back and
tells you how it went.</li>
</ul>
<p>The lobby finds games through UDP port 7773. Further away, a community runs a
lobby on an XMPP server: add its name in <b>Internet Settings</b> and the lobby signs in
to its room, as a guest or with an account. There you chat, see who is around, and
find the games hosts announce; a game you host is announced for you, and you can
invite anyone in the room to it. Links such as wendlewick://example.org:7772 open the
lobby and join that game. A host's router must let players in on the game's port
(7772).</p>
)");
}

} // namespace

namespace HelpPages {

QList<HelpPage> pages()
{
    return {
        {1, QStringLiteral("Overview"), overview()},
        {2, QStringLiteral("Connecting"), connecting()},
        {3, QStringLiteral("Game Play"), gamePlay()},
        {4, QStringLiteral("Scoring"), scoring()},
        {5, QStringLiteral("Documentation"), documentation()},
        {6, QStringLiteral("License"), licence()},
        {11, QStringLiteral("The Lobby"), lobby()},
    };
}

QString styleSheet()
{
    return QStringLiteral(R"(
h2 { color: #2f4f2f; font-size: 16pt; }
h3 { color: #4c6a4c; font-size: 12pt; margin-top: 12px; }
p { margin-bottom: 6px; }
.tip { color: #6b5a2a; }
table.keys td { padding: 2px 10px 2px 0px; }
table.points { border-collapse: collapse; }
table.points th, table.points td { border: 1px solid #8ca58c; padding: 3px 7px; text-align: center; }
table.points th { background-color: #dfe8d5; }
table.colours { background-color: #4c6a4c; }
table.colours td { padding: 3px 10px; color: #ffffc6; }
)");
}

} // namespace HelpPages
