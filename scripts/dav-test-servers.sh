#!/usr/bin/env bash
# Two private CardDAV servers for the tests of the address-book sync, each on
# a free port of 127.0.0.1 and with its storage in a new temporary folder:
# Radicale (Debian radicale) with its own htpasswd sign-in, and Xandikos
# (Debian xandikos), which has no sign-in of its own, behind a small local
# proxy that asks for Basic sign-in (scripts/dav-auth-proxy.py).
#
#   bash scripts/dav-test-servers.sh start   prints shell lines to eval:
#       TANDOR_DAV_DIR=...            the servers' folder (give it to stop)
#       TANDOR_DAV_USER=...           the user name on both servers
#       TANDOR_DAV_PASSWORD=...       the password on both servers
#       TANDOR_RADICALE_URL=...       Radicale's root URL
#       TANDOR_RADICALE_BOOK=...      the display name of its address book
#       TANDOR_XANDIKOS_URL=...       Xandikos's root URL (through the proxy)
#       TANDOR_XANDIKOS_OPEN_URL=...  Xandikos's own root URL, without sign-in, as shipped
#       TANDOR_XANDIKOS_BOOK=...      the display name of its address book
#       TANDOR_RADICALE_MISSING=...   instead of the URL: why Radicale did not start
#       TANDOR_XANDIKOS_MISSING=...   instead of the URL: why Xandikos did not start
#   bash scripts/dav-test-servers.sh stop DIR
#
# start exits 1 only when neither server starts.
set -euo pipefail

SCRIPTS=$(cd "$(dirname "$0")" && pwd)
TEST_SERVER_SCRIPT=dav-test-servers
. "$SCRIPTS/test-servers-common.sh"
USER_NAME=tandor
PASSWORD=label-sheet-30
BOOK="Tandor Contacts"

stop_servers() {
  stop_server_processes "${1:-}" tandor-dav-servers TANDOR_DAV_DIR
  rm -rf "$1"
}

# Radicale with its storage folder and an address book made beforehand.
start_radicale() {
  local dir=$1
  command -v radicale > /dev/null || { echo "radicale is not installed (Debian: apt-get install radicale)"; return 1; }
  local port
  port=$(free_port)
  mkdir -p "$dir/radicale/collections/collection-root/$USER_NAME/contacts"
  # Debian's Radicale 3.1 reads plain, md5 (apr1) and, with python3-bcrypt, bcrypt
  # htpasswd lines; plain needs nothing more.
  echo "$USER_NAME:$PASSWORD" > "$dir/radicale/users"
  printf '{"tag": "VADDRESSBOOK", "D:displayname": "%s"}' "$BOOK" \
    > "$dir/radicale/collections/collection-root/$USER_NAME/contacts/.Radicale.props"
  cat > "$dir/radicale/config" <<CONF
[server]
hosts = 127.0.0.1:$port
[auth]
type = htpasswd
htpasswd_filename = $dir/radicale/users
htpasswd_encryption = plain
delay = 0
[rights]
type = owner_only
[storage]
filesystem_folder = $dir/radicale/collections
[web]
type = none
[logging]
level = ${TANDOR_RADICALE_LOG_LEVEL:-warning}
CONF
  radicale --config "$dir/radicale/config" > "$dir/radicale/log" 2>&1 &
  echo $! > "$dir/radicale.pid"
  if ! wait_http "$port" "$dir/radicale.pid"; then
    echo "Radicale did not start: $(tail -3 "$dir/radicale/log" | tr '\n' ' ')"
    stop_pid "$dir/radicale.pid"
    return 1
  fi
  echo "http://127.0.0.1:$port/"
}

# Xandikos on a port of its own, with its default address book, and the proxy
# that asks for sign-in in front of it.
start_xandikos() {
  local dir=$1
  command -v xandikos > /dev/null || { echo "xandikos is not installed (Debian: apt-get install xandikos)"; return 1; }
  local port proxy_port
  port=$(free_port)
  proxy_port=$(free_port)
  mkdir -p "$dir/xandikos/data"
  xandikos -d "$dir/xandikos/data" --defaults -l 127.0.0.1 -p "$port" \
    --current-user-principal "/$USER_NAME/" > "$dir/xandikos/log" 2>&1 &
  echo $! > "$dir/xandikos.pid"
  if ! wait_http "$port" "$dir/xandikos.pid"; then
    echo "Xandikos did not start: $(tail -3 "$dir/xandikos/log" | tr '\n' ' ')"
    stop_pid "$dir/xandikos.pid"
    return 1
  fi
  # Its default address book gets the same display name as Radicale's.
  curl -s -o /dev/null -X PROPPATCH -H 'Content-Type: application/xml' \
    --data "<?xml version=\"1.0\"?><d:propertyupdate xmlns:d=\"DAV:\"><d:set><d:prop><d:displayname>$BOOK</d:displayname></d:prop></d:set></d:propertyupdate>" \
    "http://127.0.0.1:$port/$USER_NAME/contacts/addressbook/"
  python3 "$SCRIPTS/dav-auth-proxy.py" "$proxy_port" "$port" "$USER_NAME" "$PASSWORD" \
    > "$dir/xandikos/proxy.log" 2>&1 &
  echo $! > "$dir/xandikos-proxy.pid"
  if ! wait_http "$proxy_port" "$dir/xandikos-proxy.pid"; then
    echo "the sign-in proxy for Xandikos did not start: $(tail -3 "$dir/xandikos/proxy.log" | tr '\n' ' ')"
    stop_pid "$dir/xandikos-proxy.pid"
    stop_pid "$dir/xandikos.pid"
    return 1
  fi
  echo "http://127.0.0.1:$proxy_port/ http://127.0.0.1:$port/"
}

start_servers() {
  command -v curl > /dev/null || die "curl is not installed (Debian: apt-get install curl)"
  command -v python3 > /dev/null || die "python3 is not installed"
  local dir
  dir=$(new_server_dir dav tandor-dav-servers)
  local radicale xandikos started=0
  echo "TANDOR_DAV_DIR=$dir"
  echo "TANDOR_DAV_USER=$USER_NAME"
  echo "TANDOR_DAV_PASSWORD=$PASSWORD"
  if radicale=$(start_radicale "$dir"); then
    echo "TANDOR_RADICALE_URL=$radicale"
    echo "TANDOR_RADICALE_BOOK='$BOOK'"
    started=1
  else
    echo "TANDOR_RADICALE_MISSING='${radicale//\'/}'"
  fi
  if xandikos=$(start_xandikos "$dir"); then
    echo "TANDOR_XANDIKOS_URL=${xandikos% *}"
    echo "TANDOR_XANDIKOS_OPEN_URL=${xandikos#* }"
    echo "TANDOR_XANDIKOS_BOOK='$BOOK'"
    started=1
  else
    echo "TANDOR_XANDIKOS_MISSING='${xandikos//\'/}'"
  fi
  if [ "$started" = 0 ]; then
    echo "dav-test-servers: neither server started" >&2
    stop_servers "$dir" > /dev/null
    exit 1
  fi
}

test_server_command start_servers stop_servers TANDOR_DAV_DIR "$@"
