# Sourced by the scripts that drive a program under X. start_xserver SCRATCH
# SCREEN starts an X server of the script's own (Xvfb picks a free display
# number and reports it), sets xvfb_pid and exports DISPLAY. -noreset: the
# server stays as it is when its last client leaves; a program connecting
# during a reset would abort with "could not connect to display".
start_xserver() {
  local scratch=$1 screen=$2
  exec 5>"$scratch/display"
  Xvfb -displayfd 5 -noreset -screen 0 "$screen" -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
  exec 5>&-
  if [ ! -s "$scratch/display" ]; then
    echo "Xvfb did not start: $(cat "$scratch/xvfb.log")" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$scratch/display")"
}
