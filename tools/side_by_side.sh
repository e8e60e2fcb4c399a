# Sourced by the test scripts: side_by_side JOBS COMMAND ITEM... runs COMMAND ITEM for each
# item, JOBS at a time, and returns when all have ended. COMMAND keeps its own results
# (the exit statuses are not collected).
side_by_side() {
  local jobs=$1 command=$2 item running=0
  shift 2
  for item in "$@"; do
    "$command" "$item" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
      wait -n || true
      running=$((running - 1))
    fi
  done
  wait
}
