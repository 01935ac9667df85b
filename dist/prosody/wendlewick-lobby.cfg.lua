-- A community lobby for Wendlewick: Prosody 0.12 (Debian 12: prosody and
-- prosody-modules). Players sign in as guests at lobby.example.org, or with an account
-- at users.lobby.example.org, and meet in the room lobby@rooms.lobby.example.org.
-- Replace lobby.example.org everywhere with your server's name, and follow "Run a
-- community lobby" in Wendlewick's README. Copy to /etc/prosody/prosody.cfg.lua.

-- Accounts that may administer the server and the room.
admins = { "admin@users.lobby.example.org" }

modules_enabled = {
	"saslauth"; "tls"; "disco"; "ping"; "posix"; "limits"; "uptime"; "time";
	"admin_shell"; -- prosodyctl shell: create the room, look at sessions
	"register"; -- accounts made with prosodyctl, or by players when allow_registration is true
	"server_contact_info";
	"ipcheck"; -- tells hosts the address players reach them at (XEP-0279; prosody-modules)
	"turn_external"; -- names your coturn to players, with short-lived relay credentials (XEP-0215)
}
-- A lobby talks to its own players only: no federation with other servers.
modules_disabled = { "s2s"; "dialback"; "offline" }
s2s_ports = { }

-- Encrypted connections only; the certificates are found in /etc/prosody/certs
-- (prosodyctl --root cert import /etc/letsencrypt/live).
c2s_require_encryption = true
certificates = "certs"

-- Players make their own accounts from any XMPP client when this is true.
allow_registration = false

-- Sensible limits: what one connection may send, and how large a stanza may be. The
-- lobby's own stanzas are well under a kilobyte.
limits = {
	c2s = { rate = "8kb/s"; burst = "4s" };
}
c2s_stanza_size_limit = 64 * 1024

-- Your coturn (dist/coturn/wendlewick-turnserver.conf): players learn their address on
-- the internet from its STUN service, and those whose routers let no direct connection
-- through play over its relay. The secret is the one in coturn's static-auth-secret;
-- the credentials made from it last an hour, and no password for the relay is ever
-- stored in a player's program. Make one with: openssl rand -hex 32, and put it here
-- in place of the one below, removing the "--" in front: until then no relay is offered.
--turn_external_secret = "CHANGE-THIS-SECRET"
turn_external_host = "lobby.example.org"
turn_external_port = 3478
turn_external_ttl = 3600

log = {
	info = "/var/log/prosody/prosody.log";
	error = "/var/log/prosody/prosody.err";
}
pidfile = "/run/prosody/prosody.pid"

-- Guests: SASL ANONYMOUS, a new name for every visit.
VirtualHost "lobby.example.org"
	authentication = "anonymous"

-- Accounts, for players who want their own and for game hosts run as a service.
VirtualHost "users.lobby.example.org"
	authentication = "internal_hashed"

-- The rooms. Only the admins make rooms; make the lobby once with
--   prosodyctl shell "muc:create('lobby@rooms.lobby.example.org', { persistent = true; public = true })"
Component "rooms.lobby.example.org" "muc"
	restrict_room_creation = "admin"
	muc_room_locking = false
	muc_room_default_public = true
	muc_room_default_persistent = true
	muc_room_default_history_length = 20
	muc_tombstones = false
