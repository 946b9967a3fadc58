#!/bin/bash
# Encodes a table of files with the built binhex and decodes each .hqx with
# three decoders written elsewhere: macutils' hexbin (which checks the CRCs),
# Perl's Convert::BinHex (CRCs recomputed by decode_with_convert_binhex.pl)
# and uudeview (one fork only). Forks, name, type, creator and flags must
# come back exactly.
#
#   roundtrip.sh small              the table of small and 1 MiB inputs
#   roundtrip.sh large DECODERS     100 MiB of random bytes, with DECODERS a
#                                   comma-separated subset of hexbin,perl,uudeview
source "$(dirname "$0")/testlib.sh"

MODE=${1:-small}
DECODERS=${2:-hexbin,perl,uudeview}

hex_of() { od -An -v -tx1 | tr -d ' \n'; }

# A four-character code in hex; "-" stands for four zero bytes, which a shell
# string cannot hold.
code_hex() {
    if [[ $1 == - ]]; then echo 00000000; else printf '%s' "$1" | hex_of; fi
}

# What hexbin's MacBinary .info header says: name (length at 1, bytes from 2),
# type at 65, creator at 69, flags in bytes 73 (high) and 101 (low).
info_line_from_macbinary() {
    perl -e 'open my $f, "<:raw", $ARGV[0] or die; read $f, my $h, 128;
        my $n = ord substr $h, 1, 1;
        printf "name=%s type=%s creator=%s flags=%04x\n", unpack("H*", substr $h, 2, $n),
            unpack("H*", substr $h, 65, 4), unpack("H*", substr $h, 69, 4),
            (ord(substr $h, 73, 1) << 8) | ord(substr $h, 101, 1);' "$1"
}

decoder_wanted() { [[ ",$DECODERS," == *",$1,"* ]]; }

# How a .hqx ends: the length of its last line (65 when the closing colon
# follows a full line) and how many characters its last group has (0 for a
# whole group of four).
stream_shape() {
    perl -0777 -ne '/\n(:[^:]*:)/ or die "no stream in $ARGV\n"; my $stream = $1;
        my @lines = split /\n/, $stream; (my $chars = $stream) =~ tr/:\n//d;
        printf "last-line=%d final-group=%d\n", length $lines[-1], length($chars) % 4' "$1"
}

# roundtrip LABEL INPUT MAC_NAME TYPE CREATOR FLAGS RESOURCE
#   MAC_NAME is the header name as printf(1) format; TYPE and CREATOR are
#   four characters, or "-" for four zero bytes; RESOURCE is the file holding
#   the expected resource fork, empty for none.
roundtrip() {
    local label=$1 input=$2 mac_name=$3 type=$4 creator=$5 flags=$6 resource=$7
    local out hqx expected
    out=$(fresh_dir)
    if ! "$BINHEX" encode "$input" -C "$out" >"$out.stdout" 2>"$out.stderr"; then
        fail "$label: binhex failed: $(cat "$out.stderr")"
        return
    fi
    hqx="$out/$(basename "$input").hqx"
    [[ "$(cat "$out.stdout")" == "$hqx" ]] || fail "$label: printed '$(cat "$out.stdout")'"
    stream_shape "$hqx" >>"$WORK/shapes"
    [[ -z "$resource" ]] && resource=/dev/null
    expected=$(printf 'name=%s type=%s creator=%s flags=%s' "$(printf -- "$mac_name" | hex_of)" \
        "$(code_hex "$type")" "$(code_hex "$creator")" "$flags")

    if decoder_wanted hexbin; then
        mkdir "$out/hexbin"
        # hexbin names its three files after the name in the header (-n would
        # also rewrite that name), so they are found by their endings.
        local infos
        if ! (cd "$out/hexbin" && hexbin -3 "$hqx") >"$out/hexbin.log" 2>&1; then
            fail "$label: hexbin refused it: $(head -c 300 "$out/hexbin.log")"
        elif mapfile -t infos < <(find "$out/hexbin" -name '*.info') && [[ ${#infos[@]} -ne 1 ]]; then
            fail "$label: hexbin wrote ${#infos[@]} .info files"
        else
            local stem=${infos[0]%.info}
            check "$label: hexbin data fork" cmp -s "$stem.data" "$input"
            check "$label: hexbin resource fork" cmp -s "$stem.rsrc" "$resource"
            local got
            got=$(info_line_from_macbinary "${infos[0]}")
            check "$label: hexbin header ($got)" test "$got" == "$expected"
        fi
    fi
    if decoder_wanted perl; then
        mkdir "$out/perl"
        local got
        if ! got=$(perl "$SCRIPTS_DIR/decode_with_convert_binhex.pl" "$hqx" "$out/perl" 2>&1); then
            fail "$label: Convert::BinHex: $got"
        else
            check "$label: Convert::BinHex data fork" cmp -s "$out/perl/data" "$input"
            check "$label: Convert::BinHex resource fork" cmp -s "$out/perl/rsrc" "$resource"
            check "$label: Convert::BinHex header ($got)" test "$got" == "$expected"
        fi
    fi
    if decoder_wanted uudeview; then
        mkdir "$out/uudeview"
        uudeview -i -o -q -n -p "$out/uudeview/" "$hqx" >"$out/uudeview.log" 2>&1
        local files
        mapfile -t files < <(find "$out/uudeview" -type f)
        if [[ ${#files[@]} -ne 1 ]]; then
            fail "$label: uudeview wrote ${#files[@]} files: $(head -c 300 "$out/uudeview.log")"
        else
            # uudeview keeps one fork: the data fork, or the resource fork when
            # the data fork is empty.
            local kept=$input
            [[ ! -s "$input" && -s "$resource" ]] && kept=$resource
            check "$label: uudeview fork" cmp -s "${files[0]}" "$kept"
        fi
    fi
    rm -rf "$out"
}

# plain LABEL NAME GENERATOR...: a file without a companion, its contents
# from the generator's standard output.
plain() {
    local label=$1 name=$2
    shift 2
    local dir
    dir=$(fresh_dir)
    "$@" >"$dir/$name"
    roundtrip "$label" "$dir/$name" "$name" - - 0000 ""
    rm -rf "$dir"
}

random_bytes() { head -c "$1" /dev/urandom; }
# The same bytes every time, with no marker and no two equal bytes in a row:
# nothing is run-length coded, so the size alone decides where lines and
# groups end.
varied_bytes() {
    perl -e 'srand $ARGV[0]; my $last = -1; for (1 .. $ARGV[0]) { my $b;
        do { $b = int rand 256 } while $b == 0x90 || $b == $last; print chr $b; $last = $b }' "$1"
}
repeated() { perl -e 'print chr(hex $ARGV[0]) x $ARGV[1]' "$1" "$2"; }
text_lines() {
    perl -e 'srand 7; my @w = qw(the quick brown fox jumps over a lazy dog and keeps
        running across green hills while rain falls); for (1 .. $ARGV[0]) {
        print join(" ", map { $w[rand @w] } 1 .. 1 + int rand 12), "\n" }' "$1"
}

if [[ $MODE == large ]]; then
    dir=$(fresh_dir)
    random_bytes $((100 << 20)) >"$dir/random-100MiB.bin"
    roundtrip "100 MiB random" "$dir/random-100MiB.bin" random-100MiB.bin - - 0000 ""
    finish
    exit
fi

plain "empty file" empty.bin true
plain "one byte" one.bin printf 'x'
# Lengths around every 3-byte group and around the 48 bytes that fill a line
# of 64 characters, shifted by the header in front of the data. The sizes from
# 2 to 52, under names of one length, move the end of the stream through every
# place in a line; the checks after them make sure the endings that matter
# came up.
for size in $(seq 2 52) 92 93 94 95 96 97 98 99 100 \
    140 141 142 143 144 145 146 147 188 189 190 191 192 193 194 195 196 1023 1024 1025; do
    plain "$size bytes" "$(printf 'v%04d' "$size")" varied_bytes "$size"
done
for size in 46 47 48 49 50; do
    plain "$size random bytes" "r$size" random_bytes "$size"
done
for shape in last-line=65 final-group=0 final-group=2 final-group=3; do
    check "some stream ends with $shape" grep -qx ".* $shape\|$shape .*" "$WORK/shapes"
done
check "no stream ends in a group of one character" \
    bash -c '! grep -q "final-group=1" "$1"' _ "$WORK/shapes"
for count in 2 3 4 255 256 257 258 1000; do
    plain "a run of $count" "run$count" repeated 41 "$count"
    plain "a run of $count markers" "marker$count" repeated 90 "$count"
done
plain "a run of 1000 zeros" zeros repeated 00 1000
plain "markers between runs" mixed perl -e 'print "a" x 300, "\x90", "b" x 3, "\x90\x90", "\0" x 256, "\x90" x 3'
plain "1 MiB random" random-1MiB.bin random_bytes $((1 << 20))
# Marker-heavy input, where the run-length stage does the most per byte: lone
# markers between other bytes, and markers, pairs and short runs of them and
# of their neighbours, over many of the encoder's blocks.
plain "90 41 alternating, ending in a marker" alternating perl -e 'print "\x90A" x 100000, "\x90"'
plain "markers among short runs" marker-mix perl -e 'srand 9; for (1 .. 60000) {
    my $k = int rand 4; print $k == 0 ? "\x90A" : chr($k == 1 ? 0x8f : 0x90) x (1 + int rand 5) }'

# The run-length stage runs over the whole stream, so a run carries on from
# one part into the next when the bytes allow it. These files are made so
# that a CRC byte and the bytes beside it are equal.
crc_search() { perl "$SCRIPTS_DIR/crc_search.pl" "$@"; }
header_into_data() {
    local byte=$1 length
    length=$(crc_search header-length "into$byte" 0 "$byte" LO 3)
    plain "the header's CRC carries on into a run of $byte" "into$byte" repeated "$byte" "$length"
}
header_into_data 41
header_into_data 90
length=$(crc_search header-length zeros-into-crc 0 00 HI 3)
plain "the header's zeros carry on into its CRC" zeros-into-crc varied_bytes "$length"
for byte in 41 90; do
    # 254 and more, so that the run is cut into pieces across the CRC.
    length=$(crc_search run-length "$byte" HI 254)
    plain "a data fork of $length bytes $byte carries on into its CRC" "crc$byte" \
        repeated "$byte" "$length"
done
plain "a text file" notes.txt text_lines 5000

# Names: what the header must hold, as printf formats of Mac OS Roman bytes.
names_dir=$(fresh_dir)
name_case() {
    local label=$1 name=$2 mac_name=$3
    printf 'contents of %s\n' "$label" >"$names_dir/$name"
    roundtrip "$label" "$names_dir/$name" "$mac_name" - - 0000 ""
}
name_case "a name with blanks" "my report 2.txt" "my report 2.txt"
name_case "non-ASCII letters" $'caf\xc3\xa9 \xc3\xbcber.txt' 'caf\216 \237ber.txt'
name_case "a colon" "a:b.txt" "a/b.txt"
name_case "a name over 63 bytes" "$(printf 'n%.0s' {1..70}).pdf" "$(printf 'n%.0s' {1..59}).pdf"
name_case "a name starting with a dash" "-rf" "-rf"
name_case "characters Mac OS Roman lacks" $'\xe6\x97\xa5\xe6\x9c\xac.txt' '??.txt'
# Mac OS Roman puts e-circumflex at 0x90, the run marker: the header escapes it.
name_case "a letter whose Mac OS Roman byte is the marker" $'cr\xc3\xaape' 'cr\220pe'
name_case "a name of exactly 63 bytes" "$(printf 'x%.0s' {1..59}).txt" "$(printf 'x%.0s' {1..59}).txt"
# 70 letters of two UTF-8 bytes each are 70 bytes in Mac OS Roman, cut to 63.
name_case "a long non-ASCII name cut after conversion" "$(printf '\xc3\xa9%.0s' {1..70})" \
    "$(printf '\\216%.0s' {1..63})"

# Forks and Finder information from an AppleDouble companion.
companion_case() {
    local label=$1 type=$2 creator=$3 flags=$4 written_flags=$5 data_cmd=$6 rsrc_cmd=$7
    local dir
    dir=$(fresh_dir)
    eval "$data_cmd" >"$dir/document"
    eval "$rsrc_cmd" >"$dir/resource"
    perl "$SCRIPTS_DIR/make_apple_double.pl" "$dir/._document" "$type" "$creator" "$flags" \
        "$dir/resource"
    roundtrip "$label" "$dir/document" document "$type" "$creator" "$written_flags" "$dir/resource"
    rm -rf "$dir"
}
companion_case "resource fork and Finder information" APPL ttxt 0x6000 6000 \
    "text_lines 200" "random_bytes 5000"
companion_case "Finder flags beyond 0xF800 are cleared" TEXT R\*ch 0x41ff 4000 \
    "random_bytes 100" "printf rsrc"
companion_case "only a resource fork" rsrc RSED 0x0000 0000 "true" "random_bytes 3000"
companion_case "a resource fork of runs" APPL '????' 0x8000 8000 \
    "repeated 90 600" "repeated 90 700; repeated 00 300"
companion_case "Finder information and no resource fork" JPEG 8BIM 0x0000 0000 \
    "random_bytes 777" "true"
companion_case "the empty data fork's CRC carries on into a resource fork of zeros" \
    APPL ttxt 0x0000 0000 "true" "repeated 00 600"
crc_dir=$(fresh_dir)
printf 'the data fork\n' >"$crc_dir/data"
crc=$(crc_search fork-crc "$crc_dir/data")
companion_case "the data fork's CRC carries on into the resource fork" APPL ttxt 0x0000 0000 \
    "cat $crc_dir/data" "repeated ${crc:2:2} 300"
length=$(crc_search run-length 90 HI 3)
companion_case "a resource fork of markers carries on into its CRC" APPL ttxt 0x0000 0000 \
    "printf x" "repeated 90 $length"

finish
