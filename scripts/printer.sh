# Sourced: a private CUPS server with a PDF queue "Cake_PDF" for tests that print.
# Nothing is started when a CUPS server already answers; only what we start is stopped.
# The queue writes each job as one PDF file, <build>/printer/Cake_PDF.pdf (exported as
# SL_PRINTER_PDF); the tests read it with pdfinfo/pdftoppm.
sl_printer_start() {
  local build="$1" root
  root="$build/cups"
  export SL_PRINTER_PDF="$build/printer/Cake_PDF.pdf"
  mkdir -p "$build/printer"
  chmod 1777 "$build/printer"   # the scheduler's jobs run as its own user
  if [ -z "${CUPS_SERVER:-}" ] && lpstat -r >/dev/null 2>&1 && lpstat -r | grep -q "is running"; then
    # A server of the machine answers: use its queue when it has one.
    lpstat -p Cake_PDF >/dev/null 2>&1 || echo "printer: the running CUPS server has no Cake_PDF queue" >&2
    SL_PRINTER_PID=""
    return 0
  fi
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
  chmod 755 "$root" "$root/spool" "$root/spool/tmp"
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
    echo "printer: private cupsd did not start" >&2
    sl_printer_stop
    return 0
  fi
  # The PDF writer's printer description (its paper list), made to hand on PDF, with a
  # file as device: the job's final PDF lands in the build folder.
  sed 's|^\*PCFileName:.*|&\n*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"|' \
      /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd > "$root/Cake_PDF.ppd"
  lpadmin -p Cake_PDF -E -v "file://$SL_PRINTER_PDF" -P "$root/Cake_PDF.ppd" -o PageSize=A4 &&
    lpadmin -d Cake_PDF || echo "printer: could not add the Cake_PDF queue" >&2
}

sl_printer_stop() {
  if [ -n "${SL_PRINTER_PID:-}" ]; then
    kill "$SL_PRINTER_PID" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$SL_PRINTER_PID" 2>/dev/null || break; sleep 0.1; done
    unset CUPS_SERVER
  fi
  SL_PRINTER_PID=""
}
