#!/usr/bin/perl
# Decodes a .hqx with Perl's Convert::BinHex into DIR/data and DIR/rsrc and
# prints the header as "name=<hex> type=<hex> creator=<hex> flags=<hex>".
# Convert::BinHex does not check the CRCs, so this does: it recomputes the
# header's and both forks' and exits 1 on any mismatch.
use strict;
use warnings;
use Convert::BinHex qw(binhex_crc);

my ($hqx, $dir) = @ARGV;
die "usage: $0 FILE.hqx DIR\n" unless defined $dir;

# The module warns about its own end-of-input handling; its results are
# checked here instead.
local $SIG{__WARN__} = sub { };

open my $fh, '<:raw', $hqx or die "$hqx: $!\n";
my $h = Convert::BinHex->open(FH => $fh) or die "cannot open $hqx\n";
$h->read_header;

sub crc_of {
    my ($bytes) = @_;
    # The format's CRC takes two zero bytes after the data.
    return binhex_crc("\0\0", binhex_crc($bytes, 0));
}

sub save {
    my ($name, $bytes) = @_;
    open my $out, '>:raw', "$dir/$name" or die "$dir/$name: $!\n";
    print $out $bytes;
    close $out or die "$dir/$name: $!\n";
}

my $data = join '', $h->read_data(1 << 20);
my $rsrc = join '', $h->read_resource(1 << 20);
save('data', $data);
save('rsrc', $rsrc);

my $header = pack('C', length $h->filename) . $h->filename . pack('C', $h->version)
    . $h->type . $h->creator . pack('n N N', $h->flags, $h->data_length, $h->resource_length);
my @problems;
push @problems, 'header CRC' if crc_of($header) != $h->{HdrCRC};
push @problems, 'data length' if length($data) != $h->data_length;
push @problems, 'resource length' if length($rsrc) != $h->resource_length;
push @problems, 'data fork CRC' if crc_of($data) != $h->{Data}->crc;
push @problems, 'resource fork CRC' if crc_of($rsrc) != $h->{Rsrc}->crc;
push @problems, 'version' if $h->version != 0;
if (@problems) {
    print STDERR "$hqx: wrong ", join(', ', @problems), "\n";
    exit 1;
}
printf "name=%s type=%s creator=%s flags=%04x\n", unpack('H*', $h->filename),
    unpack('H*', $h->type), unpack('H*', $h->creator), $h->flags;
