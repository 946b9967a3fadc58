#!/bin/bash
# Where the .hqx goes and what it is called: beside the file or in -C DIR, the
# first free name of "NAME.hqx", "NAME 2.hqx", ..., any bytes in the names
# taken literally, and the new path printed on standard output.
source "$(dirname "$0")/testlib.sh"

# decodes_to HQX FILE: hexbin (which checks every CRC) gives FILE back. It
# reads HQX on standard input: it overruns a buffer on a path argument much
# longer than 255 bytes.
decodes_to() {
    local dir
    dir=$(fresh_dir)
    (cd "$dir" && hexbin -3 <"$1" >/dev/null 2>&1) || return 1
    local data
    data=$(find "$dir" -name '*.data')
    cmp -s "$data" "$2"
}

src=$(fresh_dir)
printf 'the report\n' >"$src/report.pdf"

check "beside the file, printing the new path" \
    test "$("$BINHEX" encode "$src/report.pdf")" == "$src/report.pdf.hqx"
check "the .hqx decodes to the file" decodes_to "$src/report.pdf.hqx" "$src/report.pdf"
check "an existing .hqx is kept and the next name taken" \
    test "$("$BINHEX" encode "$src/report.pdf")" == "$src/report.pdf 2.hqx"
check "and the next" test "$("$BINHEX" encode "$src/report.pdf")" == "$src/report.pdf 3.hqx"
check "no file was replaced or left over" test "$(entries "$src")" == \
    "$(printf '%s\n' report.pdf 'report.pdf 2.hqx' 'report.pdf 3.hqx' report.pdf.hqx)"
check "the kept files are whole" decodes_to "$src/report.pdf 2.hqx" "$src/report.pdf"

umask 022
check "the new file's mode follows the umask" test "$(stat -c %a "$src/report.pdf.hqx")" == 644

out=$(fresh_dir)
check "-C DIR writes into DIR" test "$("$BINHEX" encode "$src/report.pdf" -C "$out")" == \
    "$out/report.pdf.hqx"
check "-C DIR/ prints no doubled slash" test "$("$BINHEX" encode "$src/report.pdf" -C "$out/")" == \
    "$out/report.pdf 2.hqx"
check "a relative path prints a relative name" \
    test "$(cd "$src" && "$BINHEX" encode report.pdf -C .)" == "report.pdf 4.hqx"

# A folder one may write into but not list (a drop box), with either kind of
# temporary: the .hqx is written there, and an existing one is still kept.
drop_box_case() {
    local mode=$1 kind=$2 run=("${unprivileged[@]}")
    # As nobody, the program must still read the file.
    chmod 644 "$src/report.pdf"
    [[ $kind == named ]] && run=("${NAMED_TEMPORARY[@]}" "${unprivileged[@]}")
    local box label="a drop box (mode $mode), $kind temporary"
    box=$(fresh_dir)
    chmod "$mode" "$box"
    check "$label: the folder cannot be listed" bash -c '! "$@" ls "$0" 2>/dev/null' "$box" \
        "${unprivileged[@]}"
    local first second status=0
    first=$("${run[@]}" "$BINHEX" encode "$src/report.pdf" -C "$box" 2>"$WORK/err") || status=$?
    check "$label: written (status $status: $(head -c 200 "$WORK/err"))" \
        test "$status" -eq 0 -a ! -s "$WORK/err" -a "$first" == "$box/report.pdf.hqx"
    second=$("${run[@]}" "$BINHEX" encode "$src/report.pdf" -C "$box" 2>"$WORK/err") || status=$?
    check "$label: and again under the next name (status $status: $(head -c 200 "$WORK/err"))" \
        test "$status" -eq 0 -a ! -s "$WORK/err" -a "$second" == "$box/report.pdf 2.hqx"
    check "$label: nothing else in the folder" test "$(entries "$box")" == \
        "$(printf '%s\n' 'report.pdf 2.hqx' report.pdf.hqx)"
    check "$label: the .hqx decodes" decodes_to "$box/report.pdf.hqx" "$src/report.pdf"
}
temporary_kinds=(unnamed)
if can_force_named_temporary; then
    temporary_kinds+=(named)
else
    echo "skipped: drop boxes and long names with the named temporary" \
        "(no mount namespace can hide /proc/PID/fd here)"
fi
for kind in "${temporary_kinds[@]}"; do
    drop_box_case 0333 "$kind"
    drop_box_case 1733 "$kind"
done

# Names of 251 to 255 bytes leave no room for ".hqx", " 2.hqx", the
# temporary's ".NAME.hqx.XXXXXX" or (from 254 bytes) the companion "._NAME".
# Each is encoded twice beside itself, with either kind of temporary: the
# part before the extension is shortened as much as the folder's limit asks
# and no more, never inside a character, and the header keeps the Mac name
# made from the whole name.
byte_length() { printf '%s' "$1" | wc -c; }
long_names_case() {
    local kind=$1 run=()
    [[ $kind == named ]] && run=("${NAMED_TEMPORARY[@]}")
    local dir limit
    dir=$(fresh_dir)
    limit=$(getconf NAME_MAX "$dir")
    local names=() mac_names=() n a e
    for n in 251 252 253 254 255; do
        a=$(head -c $((n - 8)) /dev/zero | tr '\0' a)
        names+=("$n-$a.txt")
        mac_names+=("$n-${a:0:55}.txt")
    done
    # Two-byte characters, so that each cut falls inside one.
    e=$(printf '\xc3\xa9%.0s' $(seq 123))
    names+=("254-$e.txt")
    mac_names+=("254-$(printf '\x8e%.0s' $(seq 55)).txt")
    local i name label first second hqx
    for i in "${!names[@]}"; do
        name=${names[$i]}
        local what=name
        [[ $name == *$'\xc3'* ]] && what="name of two-byte characters"
        label="a $(byte_length "$name")-byte $what, $kind temporary"
        printf 'contents of %s\n' "$label" >"$dir/$name"
        local status=0
        first=$("${run[@]}" "$BINHEX" encode "$dir/$name" 2>"$WORK/err") || status=$?
        check "$label: encoded (status $status: $(tail -c 120 "$WORK/err"))" \
            test "$status" -eq 0 -a ! -s "$WORK/err" -a -f "$first"
        second=$("${run[@]}" "$BINHEX" encode "$dir/$name" 2>"$WORK/err") || status=$?
        check "$label: encoded again (status $status: $(tail -c 120 "$WORK/err"))" \
            test "$status" -eq 0 -a ! -s "$WORK/err" -a -f "$second"
        check "$label: under another name" test "$first" != "$second"
        for hqx in "$first" "$second"; do
            local taken=${hqx##*/} want=.txt.hqx
            [[ $hqx == "$second" ]] && want=".txt 2.hqx"
            check "$label: '...${taken: -16}' within the limit of $limit bytes" \
                test "$(byte_length "$taken")" -le "$limit"
            check "$label: '...${taken: -16}' a start of the name, then '$want'" \
                test "${name:0:${#taken}-${#want}}$want" == "$taken"
            check "$label: '...${taken: -16}' is UTF-8" iconv -f UTF-8 -t UTF-8 -o /dev/null <<<"$taken"
            check "$label: '...${taken: -16}' decodes" decodes_to "$hqx" "$dir/$name"
            local got
            got=$(perl "$SCRIPTS_DIR/decode_with_convert_binhex.pl" "$hqx" "$(fresh_dir)")
            check "$label: the Mac name in the header" \
                test "${got%% *}" == "name=$(printf '%s' "${mac_names[$i]}" | od -An -v -tx1 | tr -d ' \n')"
        done
    done
    check "long names, $kind temporary: nothing else left" \
        test "$(entries "$dir" | wc -l)" -eq $((3 * ${#names[@]}))
}
for kind in "${temporary_kinds[@]}"; do
    long_names_case "$kind"
done

# Arguments that look like options, and names with any byte but NUL.
odd=$(fresh_dir)
literal_case() {
    local label=$1 name=$2
    printf 'contents of %s\n' "$label" >"$odd/$name"
    local printed
    printed=$(cd "$odd" && "$BINHEX" encode "$name"; echo x)
    printed=${printed%x}
    check "$label: printed" test "$printed" == "$name.hqx"$'\n'
    check "$label: written under its own name" test -f "$odd/$name.hqx"
    check "$label: decodes" decodes_to "$odd/$name.hqx" "$odd/$name"
}
literal_case "a file named -C" "-C"
literal_case "a file named --help" "--help"
literal_case "a file named -" "-"
literal_case "a newline in the name" $'two\nlines'
literal_case "bytes that are not UTF-8" $'\xff\xfe name'
literal_case "blanks and quotes" "it's a \"name\" "
dash_dir="$odd/-x"
mkdir "$dash_dir"
check "a directory named -x after -C" \
    test "$(cd "$odd" && "$BINHEX" encode -C -C -x)" == "-x/-C.hqx"

# The name in the header is the Mac OS Roman one, composed first; the .hqx on
# disk keeps the file's own bytes.
header_name() {
    perl -MConvert::BinHex -e '
        local $SIG{__WARN__} = sub { }; open my $f, "<", $ARGV[0] or die;
        my $h = Convert::BinHex->open(FH => $f); $h->read_header; print $h->filename' "$1" | od -An -tx1 | tr -d ' \n'
}
mac=$(fresh_dir)
decomposed=$'Re\xcc\x81sume\xcc\x81.txt'
printf 'cv\n' >"$mac/$decomposed"
check "a decomposed name: the .hqx keeps its bytes" \
    test "$("$BINHEX" encode "$mac/$decomposed")" == "$mac/$decomposed.hqx"
check "a decomposed name: the header has the composed letters" \
    test "$(header_name "$mac/$decomposed.hqx")" == "$(printf 'R\x8esum\x8e.txt' | od -An -tx1 | tr -d ' \n')"

ln -s report.pdf "$src/link.pdf"
check "a symbolic link is named after the link" \
    test "$("$BINHEX" encode "$src/link.pdf" -C "$out")" == "$out/link.pdf.hqx"
check "and holds the file" decodes_to "$out/link.pdf.hqx" "$src/report.pdf"

# Writers racing for the same names each get one of their own.
race=$(fresh_dir)
for i in 1 2 3 4 5 6 7 8; do
    "$BINHEX" encode "$src/report.pdf" -C "$race" >"$WORK/race.$i" &
done
wait
check "eight racing writers: eight names" test "$(entries "$race" | wc -l)" -eq 8
check "eight racing writers: each printed its own" \
    test "$(cat "$WORK"/race.* | sort -u | wc -l)" -eq 8
all_whole=true
while IFS= read -r name; do
    decodes_to "$race/$name" "$src/report.pdf" || all_whole=false
done < <(entries "$race")
check "eight racing writers: every file whole" $all_whole

# The largest file BinHex can hold: sparse, so it costs no disk, and all
# zeros, so its .hqx stays small.
big=$(fresh_dir)
truncate -s 4294967295 "$big/largest"
check "4 GiB - 1 bytes is encoded" bash -c '"$@" >/dev/null' _ "$BINHEX" encode "$big/largest" -C "$big"
check "with that length in its header" test "$(perl -MConvert::BinHex -e '
    local $SIG{__WARN__} = sub { }; open my $f, "<", $ARGV[0] or die; my $h = Convert::BinHex->open(FH => $f);
    $h->read_header; print $h->data_length' "$big/largest.hqx")" == 4294967295
check "and the closing colon" test "$(tail -c 2 "$big/largest.hqx")" == ":"
rm -rf "$big"

finish
