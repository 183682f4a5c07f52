# Sourced: start_xvfb_display FOLDER SIZE starts a virtual display of our own (Xvfb picks a free
# number and writes it to the descriptor we give), sets xvfb_pid and exports DISPLAY. When the
# display does not come up it prints Xvfb's log and returns 1; the caller decides what that means.
start_xvfb_display() {
  local folder=$1 size=$2
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$folder/display" 2>"$folder/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$folder/display" ] && break
    sleep 0.1
  done
  if ! [ -s "$folder/display" ]; then
    cat "$folder/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$folder/display")"
}
