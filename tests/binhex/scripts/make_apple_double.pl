#!/usr/bin/perl
# Writes an AppleDouble companion: make_apple_double.pl OUT TYPE CREATOR FLAGS
# [RESOURCE_FILE]. FLAGS is a number (0x4000 works). The Finder information
# is entry 9, the resource fork entry 2, as macOS writes them.
use strict;
use warnings;

my ($out, $type, $creator, $flags, $resource_file) = @ARGV;
die "usage: $0 OUT TYPE CREATOR FLAGS [RESOURCE_FILE]\n" unless defined $flags;
$flags = oct($flags) if $flags =~ /^0/;
my $resource = '';
if (defined $resource_file) {
    open my $in, '<:raw', $resource_file or die "$resource_file: $!\n";
    local $/;
    $resource = <$in>;
}
my $finder_info = pack('a4 a4 n', $type, $creator, $flags) . "\0" x 22;
my $header_size = 26 + 2 * 12;
my $entries = pack('N3', 9, $header_size, length $finder_info)
    . pack('N3', 2, $header_size + length $finder_info, length $resource);
open my $fh, '>:raw', $out or die "$out: $!\n";
print $fh pack('N N', 0x00051607, 0x00020000), "\0" x 16, pack('n', 2), $entries,
    $finder_info, $resource;
close $fh or die "$out: $!\n";
