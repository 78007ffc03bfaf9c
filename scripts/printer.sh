# Sourced: a private CUPS server with a PDF queue "Cake_PDF" for tests that print.
# Nothing is started when a CUPS server already answers; only what we start is stopped.
sl_printer_start() { :; }
sl_printer_stop() { :; }
