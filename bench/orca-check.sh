#!/bin/bash
# Does Orca speak every result of the calculator window, the first after start-up included?
# Starts the window several times in a fresh private desktop (Xvfb, its own session bus and
# accessibility bus, openbox, speech-dispatcher with its dummy output module, Orca with its own
# settings folder and a debug log), types expressions with xdotool and reads Orca's
# "SPEECH OUTPUT" lines. A manual check, not part of `make test`: it needs the Debian packages
# below and skips (exit 77) without them; `--install` installs them first.
#
#   bench/orca-check.sh [--install] [BUILD_DIR] [STARTS]
#
# Prints one line per expected result and a total; the exit status is 0 only when every result
# was spoken.

set -u

if [ "${1:-}" = "--install" ]; then
    shift
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get install -y --no-install-recommends orca speech-dispatcher openbox xdotool \
        xvfb dbus-x11 at-spi2-core
fi

build=${1:-build}
starts=${2:-3}
quorvel="$build/src/app/quorvel"
spd_module=/usr/lib/speech-dispatcher-modules/sd_dummy

for tool in Xvfb openbox orca xdotool dbus-run-session speech-dispatcher; do
    if ! command -v "$tool" >/dev/null; then
        echo "orca-check: skipped, $tool is missing (run with --install)"
        exit 77
    fi
done
if [ ! -x /usr/libexec/at-spi-bus-launcher ] || [ ! -x "$spd_module" ]; then
    echo "orca-check: skipped, at-spi2-core or speech-dispatcher's dummy module is missing"
    exit 77
fi
if [ ! -x "$quorvel" ]; then
    echo "orca-check: $quorvel not found; build first (make build)"
    exit 2
fi
quorvel=$(cd "$(dirname "$quorvel")" && pwd)/quorvel

work=$(mktemp -d /tmp/quorvel-orca.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Expressions typed per start, each with the words Orca should say for its result. The first
# start repeats a result, which must be spoken again.
expressions=(
    "2*(3+4)|equals 14;2*(3+4)|equals 14;10/4|equals 2.5;2^10|equals 1024"
    "7*6|equals 42;100-1|equals 99;3+4*5|equals 23"
    "1+1|equals 2;9*9|equals 81;2*(3+4*5)|equals 46"
)

# One start: everything below runs inside its own session bus.
cat >"$work/session.sh" <<'INNER'
#!/bin/bash
set -u
run=$1 quorvel=$2 items=$3 log=$4
export HOME=$run/home XDG_CONFIG_HOME=$run/home/.config XDG_DATA_HOME=$run/home/.local/share
export XDG_RUNTIME_DIR=$run/runtime
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_RUNTIME_DIR" "$run/orca" "$run/data"
chmod 700 "$XDG_RUNTIME_DIR"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<CONF
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
AudioOutputMethod "none"
CONF
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$run/atspi.log" 2>&1 &
openbox >"$run/openbox.log" 2>&1 &
for ((try = 0; try < 50; ++try)); do
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 1
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.freedesktop.DBus.Properties.Set org.a11y.Status ScreenReaderEnabled \
    '<true>' >/dev/null 2>&1
orca --replace -u "$run/orca" --debug-file "$log" >"$run/orca.out" 2>&1 &
orca_pid=$!
for ((try = 0; try < 50; ++try)); do
    grep -q "Screen reader on" "$log" 2>/dev/null && break
    sleep 0.2
done
sleep 2
"$quorvel" --data "$run/data" >"$run/quorvel.out" 2>&1 &
quorvel_pid=$!
sleep 4
window=$(xdotool search --sync --name '^Quorvel$' | head -n 1)
# The desktop and Orca take their time on a cold start: activate until Orca has seen the
# window become active, as a user's click would make it.
for ((try = 0; try < 20; ++try)); do
    xdotool windowactivate --sync "$window" >/dev/null 2>&1
    sleep 1
    grep -q "window:activate for \[dialog | Quorvel\]" "$log" && break
done
if ! grep -q "window:activate for \[dialog | Quorvel\]" "$log"; then
    echo "SETUP: Orca never saw the window become active" >>"$run/marks"
fi
sleep 2
IFS=';' read -ra pairs <<<"$items"
for pair in "${pairs[@]}"; do
    expression=${pair%%|*}
    echo "TYPED: $expression" >>"$run/marks"
    xdotool type --delay 120 "$expression"
    sleep 1
    xdotool key Return
    sleep 3
    # Keypad Enter is Orca's Where-Am-I: it must reach Orca and leave the result shown.
    xdotool key KP_Enter
    sleep 2
done
# Orca may still be answering the last key. It ends with SIGKILL, losing what its debug log
# still buffers, so a few Shift presses (echoed, but typing nothing) push the answer out.
sleep 3
for ((try = 0; try < 12; ++try)); do
    xdotool key shift
    sleep 0.3
done
sleep 1
# Orca first, while the buses still run, so that it ends cleanly and writes out its log.
kill "$orca_pid" 2>/dev/null
wait "$orca_pid" 2>/dev/null
kill "$quorvel_pid" 2>/dev/null
wait "$quorvel_pid" 2>/dev/null
INNER
chmod +x "$work/session.sh"

# Orca's debug log in order: key presses and what it said. A result counts as spoken when Orca
# says it (the "=N" line or "equals N") after that expression's Return and before keypad
# Enter; keypad Enter counts as Where-Am-I when Orca answers it with the result still shown.
cat >"$work/judge.py" <<'PY'
import re, sys
log, items = sys.argv[1], sys.argv[2]
seq = []
key = None
for line in open(log, errors="replace"):
    if line.startswith("KEYBOARD_EVENT:"):
        key = "pressed" if "PRESSED" in line else None
    elif key and "keyval_name=(" in line:
        seq.append(("key", line.split("keyval_name=(", 1)[1].rsplit(")", 1)[0]))
        key = None
    m = re.search(r"SPEECH OUTPUT: '(.*)'", line)
    if m:
        seq.append(("said", m.group(1)))
at = 0
for pair in items.split(";"):
    expression, words = pair.split("|")
    value = words.split(" ", 1)[1]
    heard = re.compile(r"(=|equals )" + re.escape(value) + r"(?!\.?[0-9])")
    while at < len(seq) and seq[at] != ("key", "Return"):
        at += 1
    spoken = False
    at += 1
    while at < len(seq) and seq[at] != ("key", "KP_Enter"):
        spoken = spoken or (seq[at][0] == "said" and bool(heard.search(seq[at][1])))
        at += 1
    where = False
    at += 1
    while at < len(seq) and not (seq[at][0] == "key" and len(seq[at][1]) == 1):
        where = where or (seq[at][0] == "said" and bool(heard.search(seq[at][1])))
        at += 1
    print("%s %s %d %d" % (expression, value, spoken, where))
PY

spoken=0
expected=0
whereami=0
invalid=0
for ((i = 0; i < starts; ++i)); do
    run="$work/run$i"
    mkdir -p "$run"
    items=${expressions[$((i % ${#expressions[@]}))]}
    mkdir -p "$run/data"
    # A data file from an earlier session, so the start is not a first run (no tip window).
    "$(dirname "$quorvel")/quorvel-calc" --data "$run/data" '1+1' >/dev/null 2>&1
    display=$((90 + i))
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$run/xvfb.log" 2>&1 &
    xvfb_pid=$!
    sleep 1
    DISPLAY=":$display" timeout 120 dbus-run-session -- "$work/session.sh" "$run" "$quorvel" \
        "$items" "$run/orca-debug.log" >"$run/session.log" 2>&1
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    grep -o "SPEECH OUTPUT: '.*'" "$run/orca-debug.log" 2>/dev/null >"$run/speech"
    while read -r expression value said where; do
        expected=$((expected + 1))
        spoken=$((spoken + said))
        whereami=$((whereami + where))
        verdict="NOT spoken"
        [ "$said" = 1 ] && verdict="spoken"
        answer="no Where-Am-I answer"
        [ "$where" = 1 ] && answer="Where-Am-I repeats it"
        echo "start $((i + 1)): $expression = $value: $verdict; $answer"
    done < <(python3 "$work/judge.py" "$run/orca-debug.log" "$items")
    # Events the accessibility bridge could not make sense of, as Qt reports them.
    invalid=$((invalid + $(grep -c "no ValueInterface" "$run/quorvel.out")))
    if grep -q "^SETUP:" "$run/marks" 2>/dev/null; then
        echo "start $((i + 1)): $(grep "^SETUP:" "$run/marks")"
    fi
    # ORCA_CHECK_KEEP=DIR keeps each start's logs (Orca's debug log, its speech, the window's
    # output) in DIR/start-N.
    if [ -n "${ORCA_CHECK_KEEP:-}" ]; then
        mkdir -p "$ORCA_CHECK_KEEP/start-$((i + 1))"
        cp "$run"/*.log "$run"/*.out "$run/speech" "$run/marks" \
            "$ORCA_CHECK_KEEP/start-$((i + 1))/" 2>/dev/null
    fi
done
echo "orca-check: $spoken of $expected results spoken over $starts fresh starts;" \
    "Where-Am-I answered $whereami of $expected; $invalid invalid accessibility events"
[ "$spoken" -eq "$expected" ] && [ "$whereami" -eq "$expected" ] && [ "$invalid" -eq 0 ]
