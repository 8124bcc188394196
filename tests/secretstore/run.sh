#!/usr/bin/env bash
# Runs the secret-store test twice in a home folder of its own: inside a
# private D-Bus session with its own gnome-keyring, then with no session bus.
# Exit 77 (skipped) when the tools are missing, except in CI.
set -euo pipefail
test_binary=$1

for tool in dbus-run-session gnome-keyring-daemon; do
  if ! command -v "$tool" > /dev/null; then
    echo "The secret-store test needs $tool (Debian: dbus, gnome-keyring)."
    [ "${CI:-}" = "true" ] && exit 1
    exit 77
  fi
done

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/run" && chmod 700 "$home/run"
export HOME=$home XDG_RUNTIME_DIR=$home/run XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config

# gnome-keyring makes the login keyring with the password it reads, unlocked.
# shellcheck disable=SC2016
dbus-run-session -- bash -c '
  printf "keyring-password" | gnome-keyring-daemon --unlock --components=secrets > /dev/null
  exec "$0"' "$test_binary"

TANDOR_NO_SECRET_STORE=1 DBUS_SESSION_BUS_ADDRESS=unix:path=$home/no-bus "$test_binary"
