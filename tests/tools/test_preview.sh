#!/usr/bin/env bash
# soramado-preview as a user meets it: answers, refusals and the picture.
set -u
preview=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

out=$("$preview" --city 2 --at "2003-05-01 17:50:30" --at "2003-05-01 18:10:00")
expected="2003-05-01 17:50:30 city=2 sunrise=5:18:24 sunset=18:03:36 phase=4 stars=9
2003-05-01 18:10:00 city=2 sunrise=5:18:24 sunset=18:03:36 phase=5 stars=13"
[ "$out" = "$expected" ] || fail "two moments: got '$out'"

out=$(printf '2003-06-20 12:00:00\n\n2003-12-20 12:00:00\n' | "$preview" --city 0 --at -)
expected="2003-06-20 12:00:00 city=0 sunrise=4:34:43 sunset=18:34:37 phase=3 stars=0
2003-12-20 12:00:00 city=0 sunrise=6:34:37 sunset=16:34:43 phase=3 stars=0"
[ "$out" = "$expected" ] || fail "standard input: got '$out'"

for bad in "--city 6" "--city x" "--city -1"; do
    out=$("$preview" $bad --at "2003-05-01 12:00:00" 2>"$tmp/err"); status=$?
    [ $status -eq 2 ] || fail "$bad: exit $status"
    [ -z "$out" ] || fail "$bad: printed '$out'"
    grep -q "\"${bad#--city }\"" "$tmp/err" || fail "$bad: message does not name the value: $(cat "$tmp/err")"
done

out=$(printf '2003-05-01 12:00:00\n2003-02-30 12:00:00\n' | "$preview" --city 2 --at - 2>"$tmp/err"); status=$?
[ $status -eq 2 ] || fail "bad timestamp: exit $status"
[ "$(echo "$out" | wc -l)" -eq 1 ] || fail "bad timestamp: printed '$out'"
grep -q '"2003-02-30 12:00:00"' "$tmp/err" || fail "bad timestamp not named: $(cat "$tmp/err")"

"$preview" --city 2 --at "2003-05-01 18:10:00" --png "$tmp/dusk.png" --seed 7 >/dev/null || fail "--png failed"
"$preview" --city 2 --at "2003-05-01 18:10:00" --png "$tmp/again.png" --seed 7 >/dev/null
cmp -s "$tmp/dusk.png" "$tmp/again.png" || fail "--png with one seed is not repeatable"
# 160 × 120, read from the PNG header.
size=$(od -An -tu1 -j16 -N8 "$tmp/dusk.png" | tr -s ' ')
[ "$size" = " 0 0 0 160 0 0 0 120" ] || fail "--png size: $size"

# A moment is a wall-clock date and time: a daylight-saving gap of the
# machine's own zone is still a moment the model can answer for.
out=$(TZ=Europe/Berlin "$preview" --city 2 --at "2003-03-30 02:30:00" 2>"$tmp/err"); status=$?
[ $status -eq 0 ] || fail "moment in a DST gap: exit $status, $(cat "$tmp/err")"
[ "$out" = "2003-03-30 02:30:00 city=2 sunrise=5:35:39 sunset=17:46:21 phase=6 stars=0" ] ||
    fail "moment in a DST gap: got '$out'"
for bad in "2003-3-30 02:30:00" "2003-03-30 24:00:00" "2003-03-30 02:60:00" "2003-03-30T02:30:00"; do
    "$preview" --city 2 --at "$bad" >/dev/null 2>&1 && fail "'$bad' accepted"
done

# A failed write is a failure: said on stderr, no text line, no file left behind.
out=$("$preview" --city 2 --at "2003-05-01 18:10:00" --png /dev/full 2>"$tmp/err"); status=$?
[ $status -ne 0 ] || fail "--png /dev/full: exit 0"
[ -z "$out" ] || fail "--png /dev/full: printed '$out'"
grep -q "/dev/full" "$tmp/err" || fail "--png /dev/full: no message naming it: $(cat "$tmp/err")"

mkdir "$tmp/folder"
"$preview" --city 2 --at "2003-05-01 18:10:00" --png "$tmp/folder" >/dev/null 2>&1 &&
    fail "--png onto a folder: exit 0"
"$preview" --city 2 --at "2003-05-01 18:10:00" --png "$tmp/missing/x.png" >/dev/null 2>"$tmp/err" &&
    fail "--png into a missing folder: exit 0"
[ -s "$tmp/err" ] || fail "--png into a missing folder: nothing said"
[ -z "$(ls -A "$tmp/folder")" ] || fail "--png onto a folder left $(ls -A "$tmp/folder")"

"$preview" --city 2 --at "2003-05-01 18:10:00" --png "" >/dev/null 2>"$tmp/err"; status=$?
[ $status -eq 2 ] || fail "--png '': exit $status"

# Replacing a picture leaves only the picture, whole.
cp "$tmp/dusk.png" "$tmp/folder/old.png"
echo "not a picture" >"$tmp/folder/old.png"
"$preview" --city 2 --at "2003-05-01 18:10:00" --png "$tmp/folder/old.png" --seed 7 >/dev/null ||
    fail "--png over a file failed"
cmp -s "$tmp/dusk.png" "$tmp/folder/old.png" || fail "--png over a file: not the picture"
[ "$(ls -A "$tmp/folder")" = "old.png" ] || fail "--png left $(ls -A "$tmp/folder")"

# A link to a picture still to be made (a dotfile manager's): the picture goes
# to the file the link names, and the link stays.
mkdir "$tmp/links" "$tmp/pictures"
ln -s "$tmp/pictures/absolute.png" "$tmp/links/absolute.png"
ln -s ../pictures/relative.png "$tmp/links/relative.png"
for name in absolute relative; do
    "$preview" --city 2 --at "2003-05-01 18:10:00" --png "$tmp/links/$name.png" --seed 7 >/dev/null ||
        fail "--png through a dangling $name link failed"
    [ -L "$tmp/links/$name.png" ] || fail "--png replaced the $name link"
    cmp -s "$tmp/dusk.png" "$tmp/pictures/$name.png" || fail "--png: no picture where the $name link points"
done
[ "$(ls -A "$tmp/pictures" | tr '\n' ' ')" = "absolute.png relative.png " ] ||
    fail "--png through links left $(ls -A "$tmp/pictures")"

# "-" is standard output: the picture alone, byte for byte the file's.
"$preview" --city 2 --at "2003-05-01 18:10:00" --png - --seed 7 >"$tmp/stdout.png" ||
    fail "--png - failed"
cmp -s "$tmp/dusk.png" "$tmp/stdout.png" || fail "--png - differs from the file"

# The options as a user meets them: exit status, the stream and its first line.
while IFS='|' read -r args want_status stream first; do
    # shellcheck disable=SC2086 # $args is a list of words
    "$preview" $args >"$tmp/out" 2>"$tmp/err"
    status=$?
    [ $status -eq "$want_status" ] || fail "$args: exit $status, expected $want_status"
    other=err
    [ "$stream" = err ] && other=out
    line=$(head -n 1 "$tmp/$stream")
    case "$line" in
    $first) ;;
    *) fail "$args: first line on std$stream is '$line', expected '$first'" ;;
    esac
    [ ! -s "$tmp/$other" ] || fail "$args: std$other holds '$(head -n 1 "$tmp/$other")'"
done <<'CASES'
--help|0|out|usage: soramado-preview *
-h|0|out|usage: soramado-preview *
--version|0|out|Soramado 1.04a (1.4.0.1000)
--foo|2|err|soramado-preview: unknown option "--foo"; see 'soramado-preview --help'
--foo 3 --at -|2|err|soramado-preview: unknown option "--foo"; see 'soramado-preview --help'
--city|2|err|soramado-preview: --city needs a value; see 'soramado-preview --help'
--at 2003-05-01 12:00:00|2|err|soramado-preview: unexpected argument "12:00:00"; see *
CASES

# Without --city the answer is 東京's, as the clock's first start.
out=$("$preview" --at "2003-05-01 17:50:30")
[ "$out" = "2003-05-01 17:50:30 city=2 sunrise=5:18:24 sunset=18:03:36 phase=4 stars=9" ] ||
    fail "no --city: got '$out'"

# Bad input is named as it was, but safe in a terminal: no control character
# of it reaches stderr, a NUL does not cut the message short, and a huge line
# comes back as one short line.
#   how the input is given | printf format of the input | what the message must hold
head -c 10000000 /dev/zero | tr '\0' 7 >"$tmp/huge"
while IFS='|' read -r how input named; do
    case "$how" in
    line) printf -- "$input\n" | "$preview" --city 2 --at - >/dev/null 2>"$tmp/err" ;;
    huge) { printf -- "$input"; cat "$tmp/huge"; echo; } | "$preview" --city 2 --at - >/dev/null 2>"$tmp/err" ;;
    city) "$preview" --city "$(printf -- "$input")" --at "2003-05-01 12:00:00" >/dev/null 2>"$tmp/err" ;;
    seed) "$preview" --city 2 --at "2003-05-01 12:00:00" --png "$tmp/x.png" --seed "$(printf -- "$input")" \
        >/dev/null 2>"$tmp/err" ;;
    option) "$preview" "$(printf -- "$input")" 2 --city 2 --at "2003-05-01 12:00:00" >/dev/null 2>"$tmp/err" ;;
    esac
    status=$?
    [ $status -eq 2 ] || fail "$how '$input': exit $status"
    LC_ALL=C grep -q '[[:cntrl:]]' <(tr -d '\n' <"$tmp/err") && fail "$how '$input': controls on stderr"
    [ "$(tr -cd '\0' <"$tmp/err" | wc -c)" = 0 ] || fail "$how '$input': a NUL on stderr"
    [ "$(grep -c '^soramado-preview:' "$tmp/err")" = 1 ] || fail "$how '$input': not one message"
    [ "$(wc -c <"$tmp/err")" -lt 1000 ] || fail "$how '$input': $(wc -c <"$tmp/err") bytes on stderr"
    grep -qF -- "$named" "$tmp/err" || fail "$how '$input': '$named' not in: $(head -c 300 "$tmp/err")"
done <<'EOF'
line|\033]0;TITLE\007|"\x1b]0;TITLE\x07"
line|2003-05-01 12:00:00\000 and more|"2003-05-01 12:00:00\x00 and more"
line|\302\233 2J 2003-05-01\233|"\u009b 2J 2003-05-01\x9b"
huge|2003-05-01 12:00:00|"2003-05-01 12:00:007777
huge|2003-05-01 12:00:00|777…777
city|\0332|"\x1b2"
seed|1\r\0335|"1\r\x1b5"
option|--\033[31mred|"--\x1b[31mred"
EOF

# A picture's path that cannot be written is named the same safe way.
"$preview" --city 2 --at "2003-05-01 12:00:00" --png "$tmp/$(printf 'no\033]0;T\007')/x.png" \
    >/dev/null 2>"$tmp/err" && fail "--png into a missing folder succeeded"
LC_ALL=C grep -q '[[:cntrl:]]' <(tr -d '\n' <"$tmp/err") && fail "--png: controls on stderr"
grep -qF 'no\x1b]0;T\x07/x.png"' "$tmp/err" || fail "--png: path not named: $(cat "$tmp/err")"

# Output that is lost is a failure, however little or much was written: one
# message, a non-zero exit, whichever way the output went.
yes "2003-05-01 12:00:00" | head -n 20000 >"$tmp/many"
while IFS='|' read -r what command; do
    bash -c "$command" _ "$preview" "$tmp" 2>"$tmp/err"
    status=$?
    [ $status -ne 0 ] && [ $status -lt 128 ] || fail "$what: exit $status"
    [ "$(wc -l <"$tmp/err")" = 1 ] && grep -q 'standard output' "$tmp/err" ||
        fail "$what: not one message: $(cat "$tmp/err")"
done <<'EOF'
one line from input to a full disk|echo "2003-05-01 12:00:00" | "$1" --city 2 --at - >/dev/full
one moment to a full disk|"$1" --city 2 --at "2003-05-01 12:00:00" >/dev/full
many lines to a full disk|"$1" --city 2 --at - <"$2/many" >/dev/full
the line after a picture to a full disk|"$1" --city 2 --at "2003-05-01 12:00:00" --png "$2/y.png" >/dev/full
a picture to a full disk|"$1" --city 2 --at "2003-05-01 12:00:00" --png - >/dev/full
to a closed output|"$1" --city 2 --at "2003-05-01 12:00:00" >&-
EOF

if [ $failures -eq 0 ]; then echo "preview: all checks passed"; fi
exit $((failures > 0))
