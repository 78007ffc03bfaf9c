# Sourced: a private CUPS server with a PDF queue "Cake_PDF" for tests that print.
# Nothing is started when a CUPS server already answers (unless SL_PRINTER_PRIVATE is set);
# only what we start is stopped.
# The queue writes each job as one PDF file, <build>/printer/Cake_PDF.pdf (exported as
# SL_PRINTER_PDF); the tests read it with pdfinfo/pdftoppm.
#
# The server's filters run as its own unprivileged user, who may not pass through the
# folders above the build (a clone in a mode-700 home): the server's configuration, spool,
# temporary files and logs live in a private folder of the system's temporary folder, made
# per run and removed when the server stops.  The finished PDF is written by the scheduler
# itself, so it can land in the build folder wherever that is.  Before it reports ready the
# server prints one small job and checks the PDF; a server that cannot print stops the
# caller with its own error line.
sl_printer_start() {
  local build="$1" root
  export SL_PRINTER_PDF="$build/printer/Cake_PDF.pdf"
  mkdir -p "$build/printer"
  chmod 1777 "$build/printer"
  if [ -z "${SL_PRINTER_PRIVATE:-}" ] && [ -z "${CUPS_SERVER:-}" ] && lpstat -r >/dev/null 2>&1 &&
     lpstat -r | grep -q "is running"; then
    # A server of the machine answers: use its queue when it has one.
    lpstat -p Cake_PDF >/dev/null 2>&1 || echo "printer: the running CUPS server has no Cake_PDF queue" >&2
    SL_PRINTER_PID=""
    return 0
  fi
  root=$(mktemp -d /tmp/sl-cups.XXXXXX) || { echo "printer: cannot make a folder in /tmp" >&2; return 1; }
  SL_PRINTER_ROOT=$root
  mkdir -p "$root"/{etc/ppd,spool/tmp,cache,run,log}
  cat > "$root/etc/cupsd.conf" <<EOF
Listen $root/run/cups.sock
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
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
  cat > "$root/etc/cups-files.conf" <<EOF
ServerRoot $root/etc
RequestRoot $root/spool
CacheDir $root/cache
StateDir $root/run
TempDir $root/spool/tmp
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
FileDevice Yes
SystemGroup root
EOF
  chmod 755 "$root" "$root"/{etc,etc/ppd,spool,spool/tmp,cache,run,log}
  # cupsd tells its parent with SIGUSR1 that it is ready: a subshell that ignores it is
  # the parent, and the server's own pid is what we stop later.
  rm -f "$root/run/cupsd.pid"
  ( trap '' USR1
    /usr/sbin/cupsd -f -C "$root/etc/cupsd.conf" -s "$root/etc/cups-files.conf" &
    echo $! > "$root/run/cupsd.pid"
    wait ) &
  for _ in $(seq 50); do [ -s "$root/run/cupsd.pid" ] && break; sleep 0.05; done
  SL_PRINTER_PID=$(cat "$root/run/cupsd.pid" 2>/dev/null || true)
  export CUPS_SERVER="$root/run/cups.sock"
  local ok=""
  for _ in $(seq 50); do
    if lpstat -r 2>/dev/null | grep -q "is running"; then ok=1; break; fi
    sleep 0.1
  done
  if [ -z "$ok" ]; then
    echo "printer: the private CUPS server did not start:" >&2
    sl_printer_log_errors >&2
    sl_printer_stop
    return 1
  fi
  # The PDF writer's printer description (its paper list), made to hand on PDF, with a
  # file as device: the job's final PDF lands in the build folder.
  sed 's|^\*PCFileName:.*|&\n*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"|' \
      /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd > "$root/Cake_PDF.ppd"
  if ! { lpadmin -p Cake_PDF -E -v "file://$SL_PRINTER_PDF" -P "$root/Cake_PDF.ppd" -o PageSize=A4 &&
         lpadmin -d Cake_PDF; }; then
    echo "printer: could not add the Cake_PDF queue" >&2
    sl_printer_stop
    return 1
  fi
  sl_printer_check || { sl_printer_stop; return 1; }
}

# The server's own error lines, the last few.
sl_printer_log_errors() {
  local log="${SL_PRINTER_ROOT:-}/log/error_log" lines
  lines=$(grep -E '^[EC] ' "$log" 2>/dev/null | tail -n 3)
  [ -n "$lines" ] || lines=$(tail -n 3 "$log" 2>/dev/null)
  echo "${lines:-(the server logged nothing)}" | sed 's/^/printer:   /'
}

# Prints one small PostScript page, as the program's jobs are, and waits (at most 60 s)
# for its one-page PDF.  A job that failed ends the wait at once.
sl_printer_check() {
  local job pdf="$SL_PRINTER_PDF" end
  rm -f "$pdf"
  job=$(mktemp /tmp/sl-cups-check.XXXXXX)
  printf '%s\n' '%!PS-Adobe-3.0' '%%Pages: 1' '%%EndComments' '%%Page: 1 1' \
    '/Helvetica findfont 24 scalefont setfont 72 720 moveto (print server check) show showpage' \
    '%%EOF' > "$job"
  chmod 644 "$job"
  if ! lp -d Cake_PDF -t "print server check" "$job" >/dev/null 2>&1; then
    rm -f "$job"
    echo "printer: the Cake_PDF queue refused a job:" >&2
    sl_printer_log_errors >&2
    return 1
  fi
  rm -f "$job"
  end=$((SECONDS + 60))
  while :; do
    if [ -s "$pdf" ] && [ -z "$(lpstat -o Cake_PDF 2>/dev/null)" ] &&
       pdfinfo "$pdf" 2>/dev/null | grep -Eq '^Pages: +1$'; then
      rm -f "$pdf"
      cancel -a -x Cake_PDF 2>/dev/null || true   # the check leaves no job behind
      return 0
    fi
    # A filter that failed stops the job (or the queue) and logs it: no use waiting on.
    if grep -Eq '^E .*\[Job [0-9]+\]' "$SL_PRINTER_ROOT/log/error_log" 2>/dev/null ||
       lpstat -p Cake_PDF 2>/dev/null | grep -q disabled || [ $SECONDS -ge $end ]; then
      echo "printer: the print server cannot print (a test job to Cake_PDF gave no PDF at $pdf):" >&2
      lpstat -p Cake_PDF 2>/dev/null | head -n 3 | sed 's/^[[:space:]]*/printer:   /' >&2
      sl_printer_log_errors >&2
      return 1
    fi
    sleep 0.2
  done
}

sl_printer_stop() {
  if [ -n "${SL_PRINTER_PID:-}" ]; then
    kill "$SL_PRINTER_PID" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$SL_PRINTER_PID" 2>/dev/null || break; sleep 0.1; done
    unset CUPS_SERVER
  fi
  SL_PRINTER_PID=""
  if [ -n "${SL_PRINTER_ROOT:-}" ]; then
    case "$SL_PRINTER_ROOT" in /tmp/sl-cups.*) rm -rf "$SL_PRINTER_ROOT" ;; esac
    # Our server is gone with its folder, and so is the socket CUPS_SERVER named.
    unset CUPS_SERVER
  fi
  SL_PRINTER_ROOT=""
}
