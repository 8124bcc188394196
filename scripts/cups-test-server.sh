#!/usr/bin/env bash
# A private CUPS print server for the tests, with PDF-writing queues.
#
#   bash scripts/cups-test-server.sh start   prints shell lines to eval:
#       TANDOR_CUPS_DIR=...      the server's folder (give it to stop)
#       TANDOR_CUPS_SERVER=...   its socket; set CUPS_SERVER to this to reach it
#       TANDOR_CUPS_PRINTER=...  the queue's name
#       TANDOR_CUPS_PDF_DIR=...  where the queue writes each job's PDF
#       TANDOR_CUPS_EDGE_PRINTERS=...  three more queues, writing there too,
#                                whose printable areas start 0, 0.17 and 0.25 in
#                                from the left (0, 0.17, 0.056 in from the top)
#   bash scripts/cups-test-server.sh stop DIR
#
# The server (cupsd) runs with its own configuration, spool, cache, state and
# log folders in a new temporary folder and listens only on a socket there, so
# a system print server, if any, is not touched. The queue uses the cups-pdf
# backend. That backend must run as root (it is installed mode 0700, owner
# root) and reads its settings only from /etc/cups/cups-pdf-QUEUE.conf, QUEUE
# being the name in its device address cups-pdf:/QUEUE; start therefore needs
# root, writes one such file under a name of its own (removed again by stop)
# and says why on stderr, exiting 1, when it cannot run.
set -euo pipefail

SCRIPTS=$(cd "$(dirname "$0")" && pwd)
TEST_SERVER_SCRIPT=cups-test-server
. "$SCRIPTS/test-servers-common.sh"

find_cupsd() {
  for c in /usr/sbin/cupsd /usr/local/sbin/cupsd; do
    if [ -x "$c" ]; then
      echo "$c"
      return 0
    fi
  done
  command -v cupsd 2>/dev/null
}

find_ppd() {
  for p in /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
           /usr/share/cups/model/CUPS-PDF_noopt.ppd /usr/share/cups/model/CUPS-PDF_opt.ppd; do
    if [ -f "$p" ]; then
      echo "$p"
      return 0
    fi
  done
  return 1
}

# A Letter PPD of the cups-pdf queue whose printable area leaves the given
# margins, in points: left, bottom, right, top (*ImageableArea and *HWMargins).
queue_ppd() {
  awk -v l="$2" -v b="$3" -v r="$4" -v t="$5" '
    /^\*DefaultPageSize:/ { print "*DefaultPageSize: Letter"; next }
    /^\*DefaultPageRegion:/ { print "*DefaultPageRegion: Letter"; next }
    /^\*DefaultImageableArea:/ { print "*DefaultImageableArea: Letter"; next }
    /^\*DefaultPaperDimension:/ { print "*DefaultPaperDimension: Letter"; next }
    /^\*ImageableArea / {
      split($0, q, "\"")
      split(q[2], v, " ")
      printf "%s\"%g %g %g %g\"\n", q[1], l, b, v[3] - r, v[4] - t
      next
    }
    /^\*HWMargins:/ { printf "*HWMargins: %g %g %g %g\n", l, b, r, t; next }
    { print }
  ' "$1"
}

stop_server() {
  stop_server_processes "${1:-}" tandor-cups-server TANDOR_CUPS_DIR
  local dir=$1
  if [ -f "$dir/backend.conf" ]; then
    rm -f "$(cat "$dir/backend.conf")"
  fi
  rm -rf "$dir"
}

start_server() {
  [ "$(id -u)" -eq 0 ] ||
    die "needs root: the cups-pdf backend runs only as root and reads its settings from /etc/cups"
  local cupsd ppd
  cupsd=$(find_cupsd) || die "cupsd is not installed (Debian: apt-get install cups)"
  ppd=$(find_ppd) || die "cups-pdf is not installed (Debian: apt-get install printer-driver-cups-pdf)"
  [ -x /usr/lib/cups/backend/cups-pdf ] || die "the cups-pdf backend is missing from /usr/lib/cups/backend"
  command -v lpadmin > /dev/null || die "lpadmin is not installed (Debian: apt-get install cups-client)"
  [ -d /etc/cups ] && [ -w /etc/cups ] || die "/etc/cups is missing or not writable"
  # Where AppArmor enforces Debian's profile for the backend, it may read only
  # /etc/cups/cups-pdf.conf and write only below /var/spool/cups-pdf and the
  # home folder: it would ignore this server's settings and never write the
  # PDFs the tests wait for.
  local profiles=/sys/kernel/security/apparmor/profiles
  if [ -r "$profiles" ] && grep -q '^/usr/lib/cups/backend/cups-pdf (enforce)' "$profiles"; then
    die "AppArmor confines the cups-pdf backend (enforce mode), so it cannot use this server's own settings; put it in complain mode first: aa-complain /usr/lib/cups/backend/cups-pdf (package apparmor-utils)"
  fi

  local dir
  dir=$(new_server_dir cups tandor-cups-server)
  # The filters run as the user lp and read the spooled files below this folder.
  chmod 0755 "$dir"
  mkdir -p "$dir/etc/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/pdf" \
           "$dir/pdf-spool"

  local name="tandor-test-$$-${dir##*.}"
  local queue="TandorTestPDF"
  local socket="$dir/cups.sock"

  cat > "$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
User lp
Group lp
SystemGroup root
FileDevice No
Printcap $dir/state/printcap
EOF
  cat > "$dir/etc/cupsd.conf" <<EOF
LogLevel ${TANDOR_CUPS_LOGLEVEL:-info}
Listen $socket
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
MaxJobs 0
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  # The backend's own settings: every output and log inside the private folder.
  # Its Ghostscript call is the usual one, except that Ghostscript turns each
  # page as its text reads, not as the PostScript's comments say (a printer
  # gets a landscape page turned onto its portrait paper), so that a landscape
  # page shows in landscape in the queue's PDF as in the PDF written directly.
  local conf="/etc/cups/cups-pdf-$name.conf"
  cat > "$conf" <<EOF
Out $dir/pdf
AnonDirName $dir/pdf
Spool $dir/pdf-spool
Log $dir/log
LogType 3
Label 1
Grp lp
UserUMask 0022
GSCall %s -q -dCompatibilityLevel=%s -dNOPAUSE -dBATCH -dSAFER -dParseDSCComments=false -sDEVICE=pdfwrite -sOutputFile="%s" -dAutoRotatePages=/PageByPage -dAutoFilterColorImages=false -dColorImageFilter=/FlateEncode -dPDFSETTINGS=/prepress -c -f %s
EOF
  echo "$conf" > "$dir/backend.conf"

  "$cupsd" -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" > "$dir/log/cupsd.out" 2>&1 &
  echo $! > "$dir/cupsd.pid"

  local waited=0
  wait_for "$dir/cupsd.pid" test -S "$socket" || waited=$?
  if [ "$waited" = 1 ]; then
    local why
    why=$(cat "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tail -5)
    stop_server "$dir"
    die "cupsd did not start: $why"
  fi
  if [ ! -S "$socket" ]; then
    stop_server "$dir"
    die "cupsd did not open its socket in 10 seconds"
  fi

  # cups-pdf turns PostScript into PDF, so each job goes from PDF to PostScript
  # first; pdftocairo does that keeping the text readable in the queue's PDF
  # (Ghostscript, the usual choice, turns it into shapes that pdftotext cannot
  # read back). The queue's paper is Letter and its printable area leaves the margins of a
  # common inkjet printer, 0.25 in at the sides, 0.056 in at the top and
  # 0.1 in at the bottom (those of the PDF files tandor-batch writes), so that
  # its output can be laid over a PDF written directly.
  queue_ppd "$ppd" 18 7.2 18 4.032 > "$dir/queue.ppd"
  # Three more queues for placing by the paper's edge, whose printable areas
  # start 0, 0.17 and 0.25 in from the left edge and 0, 0.17 and 0.056 in from
  # the top (points: left, bottom, right, top).
  queue_ppd "$ppd" 0 0 0 0 > "$dir/edge0.ppd"
  queue_ppd "$ppd" 12.24 12.24 12.24 12.24 > "$dir/edge17.ppd"
  queue_ppd "$ppd" 18 7.2 18 4.032 > "$dir/edge25.ppd"

  local q
  for q in "$queue:queue" TandorEdge0:edge0 TandorEdge17:edge17 TandorEdge25:edge25; do
    if ! CUPS_SERVER=$socket lpadmin -p "${q%%:*}" -E -v "cups-pdf:/$name" -P "$dir/${q#*:}.ppd" \
           -o printer-error-policy=abort-job -o pdftops-renderer-default=pdftocairo \
           2> "$dir/log/lpadmin.out"; then
      local why
      why=$(cat "$dir/log/lpadmin.out")
      stop_server "$dir"
      die "could not add the queue ${q%%:*}: $why"
    fi
  done

  echo "TANDOR_CUPS_DIR=$dir"
  echo "TANDOR_CUPS_SERVER=$socket"
  echo "TANDOR_CUPS_PRINTER=$queue"
  echo "TANDOR_CUPS_PDF_DIR=$dir/pdf"
  echo "TANDOR_CUPS_EDGE_PRINTERS='TandorEdge0 TandorEdge17 TandorEdge25'"
}

test_server_command start_server stop_server TANDOR_CUPS_DIR "$@"
