# Helpers for the bench/*.sh scripts (source it after setting $work, the scratch folder).

# measure LABEL COMMAND...: runs the command with its output in $work/LABEL.out and .err,
# logs "LABEL seconds s, peak KiB" on stderr and prints the seconds.
measure() {
  local label=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" > "$work/$label.out" 2> "$work/$label.err"
  read -r seconds rss < "$work/time"
  echo "$label $seconds s, $rss KiB" >&2
  echo "$seconds"
}

# median NUMBER...: the middle one (the upper of the two middle ones for an even count).
median() { printf '%s\n' "$@" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
