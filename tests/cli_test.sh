#!/bin/sh
# The runner's command line: bad usage and input that cannot be read exit 2,
# output that cannot be written exits 1, each with one "kragmoor-sim: ..."
# line on standard error; --help and good runs exit 0.
sim="$1"
fail=0
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT

check() {  # check CODE STDERR-PATTERN GOT-CODE STDERR DESCRIPTION
  if [ "$3" -ne "$1" ] || ! printf '%s\n' "$4" | grep -q -- "$2" ||
     [ "$(printf '%s\n' "$4" | wc -l)" -ne 1 ]; then
    echo "FAIL: $5: exit $3, stderr: $4"
    fail=1
  fi
}

expect() {  # expect CODE STDERR-PATTERN ARGS...
  code=$1; pattern=$2; shift 2
  err=$("$sim" "$@" 2>&1 >/dev/null </dev/null)
  check "$code" "$pattern" $? "$err" "kragmoor-sim $*"
}

expect_full() {  # the same with standard output on a full device
  code=$1; pattern=$2; shift 2
  err=$("$sim" "$@" 2>&1 >/dev/full </dev/null)
  check "$code" "$pattern" $? "$err" "kragmoor-sim $* >/dev/full"
}

expect 2 '^kragmoor-sim: missing command'
expect 2 "^kragmoor-sim: unknown command 'play'" play
expect 2 "^kragmoor-sim: bad value '-1' for --frames" match --frames -1
expect 2 "^kragmoor-sim: bad value '2147483648' for --frames" match --frames 2147483648
expect 2 "^kragmoor-sim: bad value '4294967296' for --seed" match --seed 4294967296
expect 2 "^kragmoor-sim: bad value '0' for --hash-every" match --hash-every 0
expect 2 "^kragmoor-sim: bad value '1101' for --ai" match --ai 1101
expect 2 "^kragmoor-sim: unknown option '--fast'" match --fast 1
expect 2 "^kragmoor-sim: option '--seed' needs a value" match --seed
expect 2 "^kragmoor-sim: bad value '3-1' for --seeds" match --seeds 3-1
expect 2 "^kragmoor-sim: bad value '7' for --seeds" match --seeds 7
expect 2 "^kragmoor-sim: bad value '1-4294967296' for --seeds" match --seeds 1-4294967296
expect 2 "^kragmoor-sim: bad value '0' for --jobs" match --seeds 1-2 --jobs 0
expect 2 "^kragmoor-sim: --seed and --seeds" match --seed 1 --seeds 1-2
expect 2 "^kragmoor-sim: cannot open" run /nonexistent/script.sim
expect 2 "^kragmoor-sim: 'run' takes at most one file" run a b
expect 2 "^kragmoor-sim: 'summary' takes one recording" summary
expect 2 "^kragmoor-sim: cannot replay '/nonexistent.sim' : No such file" summary /nonexistent.sim
expect 2 "^kragmoor-sim: bad value '0' for --every" summary --every 0 a.sim
expect 0 '' --help
expect 0 'frames in' match --seed 4294967295 --frames 3 --ai 000

# An option is named unknown before its value is looked for.
expect 2 "^kragmoor-sim: unknown option '--bogus'" match --bogus
expect 2 "^kragmoor-sim: unknown option '--frames=5'" match --frames=5
# --help after any command prints the usage, where an option could stand.
for command in match arena tournament run check summary; do expect 0 '' $command --help; done
expect 0 '' match --frames 5 --help
expect 2 "^kragmoor-sim: bad value '--help' for --frames" match --frames --help

# Input that cannot be read is an error, never the end of an empty script.
expect 2 "^kragmoor-sim: cannot open '/nonexistent/script.sim' : No such file or directory$" \
  run /nonexistent/script.sim
expect 2 "^kragmoor-sim: cannot read '$tmp' : Is a directory$" run "$tmp"
err=$("$sim" run 2>&1 >/dev/null <&-)
check 2 '^kragmoor-sim: cannot read standard input : Bad file descriptor$' $? "$err" \
  'kragmoor-sim run <&-'
# A line without end is refused at the limit, not read into memory.
err=$("$sim" run - 2>&1 >/dev/null </dev/zero)
check 2 '^kragmoor-sim: line 1: the line is longer than 1048576 bytes$' $? "$err" 'run - </dev/zero'
# A FIFO (even one without a writer) or a device named as FILE is refused at
# once, never waited for: it is read only as standard input.
mkfifo "$tmp/fifo"
expect 2 "^kragmoor-sim: cannot read '$tmp/fifo' : it is a FIFO, not a regular file; give it as standard input ('-')" \
  check "$tmp/fifo"
expect 2 "^kragmoor-sim: cannot read '$tmp/fifo' : it is a FIFO" run "$tmp/fifo"
expect 2 "^kragmoor-sim: cannot read '/dev/zero' : it is a device or socket, not a regular file" run /dev/zero
err=$(printf 'hash\n#> hash 2e48b340d897bb12\n' | "$sim" check /dev/stdin 2>&1 >/dev/null)
check 0 '^$' $? "$err" 'check /dev/stdin from a pipe'
# Expected lines piped in without end are held up to a bound, then refused.
err=$(yes '#> x' | "$sim" check - 2>&1 >/dev/null)
check 2 "^kragmoor-sim: more than 67108864 bytes of '#> ' lines wait for the output they expect$" $? "$err" \
  "yes '#> x' | check -"

# Echoed input is escaped and cut short: no raw escape byte reaches a terminal.
expect 2 "^kragmoor-sim: unknown command '\\\\x1b\\[2Ja\\{36\\}…'; try" \
  "$(printf '\033[2J')$(printf '%0300d' 0 | tr 0 a)"
err=$("$sim" "$(printf '\033[2J')" 2>&1)
case "$err" in *"$(printf '\033')"*) echo "FAIL: an escape byte on standard error"; fail=1 ;; esac

# Output that cannot be written is an error (exit 1), not a silent success.
printf 'print 0\n' >"$tmp/print.sim"
nospace='^kragmoor-sim: cannot write standard output : No space left on device$'
expect_full 1 "$nospace" match --frames 10
expect_full 1 "$nospace" run "$tmp/print.sim"
expect_full 1 "$nospace" --help

# The speed goes to standard error only; standard output depends on options only.
a=$("$sim" match --frames 50 --hash-every 25 2>/dev/null)
b=$("$sim" match --frames 50 --hash-every 25 2>/dev/null)
[ "$a" = "$b" ] || { echo "FAIL: two identical matches differ"; fail=1; }
[ "$(printf '%s\n' "$a" | wc -l)" -eq 6 ] || { echo "FAIL: match output: $a"; fail=1; }
# --seeds: "seed S" and then what --seed S prints, in seed order, whatever
# --jobs is (more jobs than seeds too); the speed line counts every frame.
options="--frames 300 --hash-every 100 --ai 110"
want=$(for seed in 4294967294 4294967295; do echo "seed $seed"; "$sim" match --seed $seed $options 2>/dev/null; done)
got=$("$sim" match --seeds 4294967294-4294967295 $options 2>/dev/null)
[ "$got" = "$want" ] || { echo "FAIL: --seeds 4294967294-4294967295 differs from single matches"; fail=1; }
want=$(for seed in 5 6 7 8 9; do echo "seed $seed"; "$sim" match --seed $seed $options 2>/dev/null; done)
for jobs in 1 2 3 8; do
  got=$("$sim" match --seeds 5-9 --jobs $jobs $options 2>/dev/null)
  [ "$got" = "$want" ] || { echo "FAIL: --seeds 5-9 --jobs $jobs differs from single matches"; fail=1; }
done
err=$("$sim" match --seeds 5-9 --jobs 2 --frames 10 2>&1 >/dev/null)
printf '%s\n' "$err" | grep -q '^50 frames in .*, 5 matches, 2 at once$' || { echo "FAIL: speed line: $err"; fail=1; }
# A recording from a stranger touches nothing outside a folder named with
# --files, with any options: its save is a script error, and no file changes.
home="$tmp/home"
mkdir -p "$home/dl"
printf 'keep\n' >"$home/.bashrc"
cat >"$home/dl/bugreport.sim" <<'END'
# kragmoor recording 1
reset
set 3 x=175 y=175 hp=100 maxHp=100 order="$(id > ~/PWNED)" owner=1 kind=-1
save "../.bashrc"
reset
scenario
hash
#> hash 2e48b340d897bb12
END
listing() { find "$home" -printf '%p %y %s %m %U %T@\n' | sort; }
before=$(listing)
for options in "" "--files ." "--files $home/dl" "--files $home" "--max-frames 10"; do
  # shellcheck disable=SC2086  # options split into words
  err=$(cd "$home/dl" && HOME="$home" "$sim" check $options bugreport.sim 2>&1 >/dev/null)
  check 2 "^kragmoor-sim: line 4: .*\(--files DIR\|lies outside\)" $? "$err" "check $options bugreport.sim"
done
[ "$before" = "$(listing)" ] || { echo "FAIL: check of bugreport.sim changed files"; fail=1; }
if [ "$(cat "$home/.bashrc")" != keep ] || [ -e "$home/PWNED" ]; then
  echo "FAIL: .bashrc replaced"; fail=1
fi

# With --files, save and load work inside the folder, and a save never
# replaces a file that is not a saved game.
mkdir "$tmp/files"
printf 'seed 4\nsave g.save\nseed 0\nload g.save\nhash\nsave other.txt\n' >"$tmp/save.sim"
printf 'notes\n' >"$tmp/files/other.txt"
err=$("$sim" run --files "$tmp/files" "$tmp/save.sim" 2>&1 >/dev/null)
check 1 "^kragmoor-sim: line 6: cannot write '.*other.txt' : it exists and is not" $? "$err" 'run --files: save over a text file'
head -n 1 "$tmp/files/g.save" | grep -q '^# kragmoor save 1$' || { echo "FAIL: no saved game written"; fail=1; }
[ "$(cat "$tmp/files/other.txt")" = notes ] || { echo "FAIL: other.txt replaced"; fail=1; }
expect 2 "^kragmoor-sim: unknown option '--bogus' for 'run'" run --bogus
expect 2 "^kragmoor-sim: option '--files' needs a value" check --files
expect 2 "^kragmoor-sim: bad value 'x' for --max-frames" check --max-frames x "$tmp/save.sim"
expect 2 "^kragmoor-sim: 'check' takes one file" check --files "$tmp"
expect 1 "^kragmoor-sim: standard input holds no '#> ' lines .*nothing was verified$" check -

# A recording of 10^8 frames: --max-frames refuses it at once; SIGINT ends
# it at once with 130 (env gives the background job SIGINT back).
printf '# kragmoor recording 1\nai 0 0 0\nstep 50000000\nhash\n#> hash 0\nstep 50000000\nhash\n#> hash 0\n' >"$tmp/long.sim"
expect 2 "^kragmoor-sim: line 3: the frame limit of 1000 frames is reached$" check --max-frames 1000 "$tmp/long.sim"
env --default-signal=INT "$sim" check "$tmp/long.sim" 2>"$tmp/int.err" &
pid=$!
# Until the runner itself (not the shell's child before its exec) has its
# SIGINT handler in place: SigCgt holds signal 2's bit.
catches_int() {
  [ "$(readlink "/proc/$pid/exe")" = "$(readlink -f "$sim")" ] &&
    [ $(( 0x$(awk '/^SigCgt/ { print $2 }' "/proc/$pid/status") & 2 )) -ne 0 ]
}
tries=0
while [ $tries -lt 300 ] && ! catches_int 2>/dev/null; do sleep 0.1; tries=$((tries + 1)); done
kill -INT $pid
tries=0
while kill -0 $pid 2>/dev/null && [ $tries -lt 300 ]; do sleep 0.1; tries=$((tries + 1)); done
kill -0 $pid 2>/dev/null && { echo "FAIL: check still runs after SIGINT"; kill -9 $pid; }
wait $pid
check 130 '^kragmoor-sim: interrupted (SIGINT) after [0-9]* frames$' $? "$(cat "$tmp/int.err")" 'check, SIGINT'
# On a terminal, check shows the frames done of the total counted ahead.
if command -v script >/dev/null; then
  printf '# kragmoor recording 1\nai 0 0 0\nstep 2000\nhash\n#> hash 0\n' >"$tmp/short.sim"
  shown=$(script -qec "'$sim' check '$tmp/short.sim'" /dev/null 2>&1 | tr '\r' '\n')
  printf '%s\n' "$shown" | grep -q '^frame [0-9]* of 2000 ' || { echo "FAIL: no progress: $shown"; fail=1; }
fi
exit $fail
