#!/usr/bin/perl
# Finds fork lengths whose CRCs make a run cross from one part of the stream
# into the next, so that the round trips can put a run exactly there. The CRC
# is the format's (Convert::BinHex computes it; two zero bytes end each part).
#
#   crc_search.pl header-length NAME RESOURCE_LENGTH BYTE HI|LO MIN
#       the smallest data fork length >= MIN for which the header of a file
#       called NAME (no type, creator or flags) has BYTE as the high or low
#       byte of its CRC
#   crc_search.pl run-length BYTE HI|LO MIN
#       the smallest n >= MIN for which n copies of BYTE have BYTE as the
#       high or low byte of their CRC
#   crc_search.pl fork-crc FILE
#       the CRC of FILE's bytes, as four hex digits
#
# BYTE is two hex digits.
use strict;
use warnings;
use Convert::BinHex qw(binhex_crc);

sub crc_of { return binhex_crc("\0\0", binhex_crc($_[0], 0)); }

sub byte_of {
    my ($crc, $which) = @_;
    return $which eq 'HI' ? $crc >> 8 : $crc & 0xFF;
}

sub search {
    my ($min, $matches) = @_;
    for my $n ($min .. $min + 1_000_000) {
        return $n if $matches->($n);
    }
    die "no length from $min on\n";
}

my $command = shift // '';
if ($command eq 'header-length') {
    my ($name, $resource_length, $byte, $which, $min) = @ARGV;
    print search($min, sub {
        my $header = pack('C', length $name) . $name . "\0" . "\0" x 10
            . pack('N N', $_[0], $resource_length);
        return byte_of(crc_of($header), $which) == hex $byte;
    }), "\n";
} elsif ($command eq 'run-length') {
    my ($byte, $which, $min) = @ARGV;
    print search($min, sub {
        return byte_of(crc_of(chr(hex $byte) x $_[0]), $which) == hex $byte;
    }), "\n";
} elsif ($command eq 'fork-crc') {
    open my $in, '<:raw', $ARGV[0] or die "$ARGV[0]: $!\n";
    local $/;
    my $bytes = <$in>;
    printf "%04x\n", crc_of($bytes // '');
} else {
    die "usage: $0 header-length|run-length|fork-crc ...\n";
}
