# The steps the scripts of the test servers share (dav-test-servers.sh,
# cups-test-server.sh), sourced by them after they set TEST_SERVER_SCRIPT to
# their name: the error message, a free port, waiting for a server, the
# server's folder, stopping its processes, and the start | stop command.

# Says what went wrong on stderr, under the script's name, and exits 1.
die() {
  echo "$TEST_SERVER_SCRIPT: $*" >&2
  exit 1
}

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# wait_for PIDFILE COMMAND...: runs the command every 0.1 s until it succeeds
# (0), the process of PIDFILE ends (1) or 100 tries fail (2).
wait_for() {
  local pidfile=$1
  shift
  for _ in $(seq 100); do
    if "$@"; then
      return 0
    fi
    kill -0 "$(cat "$pidfile")" 2>/dev/null || return 1
    sleep 0.1
  done
  return 2
}

# Waits until the server answers HTTP at the port (any status).
wait_http() {
  local port=$1 pidfile=$2
  wait_for "$pidfile" curl -s -o /dev/null --max-time 1 "http://127.0.0.1:$port/"
}

# Ends the process of a pid file (TERM, then KILL after 5 seconds) and
# removes the file.
stop_pid() {
  local pidfile=$1
  [ -f "$pidfile" ] || return 0
  local pid
  pid=$(cat "$pidfile")
  if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -f "$pidfile"
}

# new_server_dir PREFIX MARKER: a new temporary folder tandor-PREFIX.XXXXXX
# holding the file MARKER, which tells stop the folder is one start made.
new_server_dir() {
  local dir
  dir=$(mktemp -d "${TMPDIR:-/tmp}/tandor-$1.XXXXXX") && touch "$dir/$2" && echo "$dir"
}

# stop_server_processes DIR MARKER VARIABLE: checks that start made the folder
# (VARIABLE names where start printed it) and ends every process of a pid
# file in it.
stop_server_processes() {
  local dir=$1 marker=$2 variable=$3 p
  [ -n "$dir" ] || die "stop needs the folder that start printed ($variable)"
  [ -f "$dir/$marker" ] || die "$dir is not a folder made by start"
  for p in "$dir"/*.pid; do
    if [ -e "$p" ]; then
      stop_pid "$p"
    fi
  done
}

# test_server_command START STOP VARIABLE ARGS...: runs `start` or `stop DIR`
# (DIR by default the value of VARIABLE).
test_server_command() {
  local start=$1 stop=$2 variable=$3
  shift 3
  case "${1:-}" in
    start) "$start" ;;
    stop) "$stop" "${2:-${!variable:-}}" ;;
    *)
      echo "usage: $0 start | stop DIR" >&2
      exit 2
      ;;
  esac
}
