# Sourced: starts a private X server and exports its DISPLAY once it answers, so that no
# window is created before the server can take it. Xvfb picks a free display number and
# writes it to the descriptor given by -displayfd only when it is ready.
start_xvfb() {
  local screen="${1:-1280x1024x24}" fifo number
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  # The read ends when Xvfb writes its number, or fails when it dies first; 30 s at most.
  number=""
  read -r -t 30 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    kill "$xvfb_pid" 2>/dev/null
    return 1
  fi
  export DISPLAY=":$number"
}

stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] || return 0
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}
