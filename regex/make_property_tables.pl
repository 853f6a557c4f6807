#!/usr/bin/perl
# Writes the C++ tables of unicode_properties.h from the Unicode data files, at build time: for every
# property a pattern can name with \p{...} beyond the general categories (scripts, script extensions,
# blocks, the break properties, widths, bidi classes, ages, the binary properties ...), the code
# points of each of its values, and every name and alias Perl accepts for them.
#   make_property_tables.pl <folder of the Unicode data files> <output .cpp>
use strict;
use warnings;

my ($dir, $out) = @ARGV;
die "usage: $0 <unicode data folder> <output>\n" unless defined $out;

# Enumerated properties: short name => file whose second field is the value.
my %enumerated = (
  sc => 'Scripts.txt', blk => 'Blocks.txt', GCB => 'auxiliary/GraphemeBreakProperty.txt',
  WB => 'auxiliary/WordBreakProperty.txt', SB => 'auxiliary/SentenceBreakProperty.txt',
  lb => 'LineBreak.txt', ea => 'EastAsianWidth.txt', bc => 'extracted/DerivedBidiClass.txt',
  hst => 'HangulSyllableType.txt', age => 'DerivedAge.txt', jt => 'extracted/DerivedJoiningType.txt',
  jg => 'extracted/DerivedJoiningGroup.txt', nt => 'extracted/DerivedNumericType.txt',
  dt => 'extracted/DerivedDecompositionType.txt', ccc => 'extracted/DerivedCombiningClass.txt',
  InSC => 'IndicSyllabicCategory.txt', InPC => 'IndicPositionalCategory.txt', vo => 'VerticalOrientation.txt',
);
# Files whose second field names a binary property (a third field, where there is one, is a value of
# an enumerated property: the quick checks of the normalisation forms).
my @binaryFiles = ('PropList.txt', 'DerivedCoreProperties.txt', 'emoji/emoji-data.txt',
                   'DerivedNormalizationProps.txt', 'extracted/DerivedBinaryProperties.txt');
my $maxCode = 0x10FFFF;

# Perl's loose matching: letter case, spaces, "-" and "_" do not count.
sub loose { my $s = lc shift; $s =~ s/[\s_-]//g; return $s; }

sub data_lines {
  my ($name, $each) = @_;
  open(my $fh, '<', "$dir/$name") or die "$0: cannot read $dir/$name: $!\n";
  while (my $line = <$fh>) {
    if ($line =~ /^#\s*\@missing:\s*([0-9A-F]+)\.\.([0-9A-F]+)\s*;\s*(.*?)\s*$/) {
      $each->(hex($1), hex($2), [split /\s*;\s*/, $3], 1);
      next;
    }
    $line =~ s/#.*//;
    next unless $line =~ /^([0-9A-F]+)(?:\.\.([0-9A-F]+))?\s*;\s*(.*?)\s*$/;
    $each->(hex($1), hex(defined $2 ? $2 : $1), [split /\s*;\s*/, $3], 0);
  }
  close $fh;
}

# Property names and aliases: short name => [loose aliases].
my (%propertyAliases, %shortOf);
{
  open(my $fh, '<', "$dir/PropertyAliases.txt") or die "$0: cannot read PropertyAliases.txt: $!\n";
  while (my $line = <$fh>) {
    $line =~ s/#.*//;
    my @names = grep { length } map { s/^\s+|\s+$//gr } split /;/, $line;
    next unless @names;
    $propertyAliases{$names[0]} = [map { loose($_) } @names];
    $shortOf{loose($_)} = $names[0] for @names;
  }
  close $fh;
}
# Value aliases: short property name => { loose alias => canonical loose name }.
my %valueCanonical;
{
  open(my $fh, '<', "$dir/PropertyValueAliases.txt") or die "$0: cannot read PropertyValueAliases.txt: $!\n";
  while (my $line = <$fh>) {
    $line =~ s/#.*//;
    my @f = grep { length } map { s/^\s+|\s+$//gr } split /;/, $line;
    next if @f < 3;
    my $property = shift @f;
    # ccc lists its number first: the long name is the third field there, the second elsewhere.
    my $canonical = loose($property eq 'ccc' ? $f[0] : $f[1]);
    $valueCanonical{$property}{loose($_)} = $canonical for @f;
  }
  close $fh;
}
sub canonical_value {
  my ($property, $value) = @_;
  my $l = loose($value);
  return $valueCanonical{$property}{$l} // $l;
}

# Each set: a name for the comment and its merged ranges. Values are painted per code point in a
# string of 16-bit value numbers, so later lines (and data after the @missing defaults) win.
my @sets;         # [label, [[first, last], ...]]
my %properties;   # short name => { kind => 'enum'|'binary', values => { loose alias => [set, negated] } }

sub ranges_of_painted {
  my ($painted, $count) = @_;
  my @values = unpack('n*', $painted);
  my @ranges = map { [] } 1 .. $count;
  my $start = 0;
  for my $code (1 .. $maxCode + 1) {
    next if $code <= $maxCode && $values[$code] == $values[$start];
    push @{$ranges[$values[$start]]}, [$start, $code - 1];
    $start = $code;
  }
  return @ranges;
}

sub add_enumerated {
  my ($property, $file) = @_;
  my (%number, @names);
  my $painted = pack('n', 0) x ($maxCode + 1);
  my $numberOf = sub {
    my $value = canonical_value($property, shift);
    unless (exists $number{$value}) { $number{$value} = @names; push @names, $value; }
    return $number{$value};
  };
  my @missing;
  my @lines;
  data_lines($file, sub {
    my ($first, $last, $fields, $isMissing) = @_;
    if ($isMissing) { push @missing, [$first, $last, $fields->[0]]; } else { push @lines, [$first, $last, $fields->[0]]; }
  });
  # A value no default names (a property without @missing lines) is the unlisted one, "Other" or "No".
  $numberOf->(@missing ? $missing[0][2] : 'Other');
  for my $r (@missing, @lines) {
    my $n = $numberOf->($r->[2]);
    substr($painted, 2 * $r->[0], 2 * ($r->[1] - $r->[0] + 1)) = pack('n', $n) x ($r->[1] - $r->[0] + 1);
  }
  my @ranges = ranges_of_painted($painted, scalar @names);
  my %values;
  for my $i (0 .. $#names) {
    push @sets, ["$property=$names[$i]", $ranges[$i]];
    my $set = $#sets;
    $values{$names[$i]} = [$set, 0];
    for my $alias (keys %{$valueCanonical{$property} // {}}) {
      $values{$alias} = [$set, 0] if $valueCanonical{$property}{$alias} eq $names[$i];
    }
  }
  $properties{$property} = {kind => 'enum', values => \%values};
  return (\%number, \@ranges);
}

sub merged {
  my @sorted = sort { $a->[0] <=> $b->[0] } @_;
  my @m;
  for my $r (@sorted) {
    if (@m && $r->[0] <= $m[-1][1] + 1) { $m[-1][1] = $r->[1] if $r->[1] > $m[-1][1]; } else { push @m, [@$r]; }
  }
  return \@m;
}

my %scriptSet;
for my $property (sort keys %enumerated) {
  my ($number, $ranges) = add_enumerated($property, $enumerated{$property});
  if ($property eq 'sc') { %scriptSet = map { $_ => $ranges->[$number->{$_}] } keys %$number; }
}

# Script_Extensions: the scripts listed for a code point, else its script.
{
  my %listed;  # code point => [loose script names]
  data_lines('ScriptExtensions.txt', sub {
    my ($first, $last, $fields, $isMissing) = @_;
    return if $isMissing;
    my @scripts = map { canonical_value('sc', $_) } split ' ', $fields->[0];
    $listed{$_} = \@scripts for $first .. $last;
  });
  my %values;
  for my $script (sort keys %scriptSet) {
    my @ranges;
    for my $r (@{$scriptSet{$script}}) {
      my $start;
      for my $code ($r->[0] .. $r->[1]) {
        if ($listed{$code}) { push @ranges, [$start, $code - 1] if defined $start; undef $start; }
        elsif (!defined $start) { $start = $code; }
      }
      push @ranges, [$start, $r->[1]] if defined $start;
    }
    for my $code (keys %listed) { push @ranges, [$code, $code] if grep { $_ eq $script } @{$listed{$code}}; }
    push @sets, ["scx=$script", merged(@ranges)];
    my $set = $#sets;
    for my $alias (keys %{$valueCanonical{sc}}) { $values{$alias} = [$set, 0] if $valueCanonical{sc}{$alias} eq $script; }
    $values{$script} = [$set, 0];
  }
  $properties{scx} = {kind => 'enum', values => \%values};
}

# Binary properties, and the quick checks whose files they share.
{
  my %binaryRanges;
  my %quickCheck;  # short property => {value => [ranges]}
  for my $file (@binaryFiles) {
    data_lines($file, sub {
      my ($first, $last, $fields, $isMissing) = @_;
      return if $isMissing;
      my $short = $shortOf{loose($fields->[0])} // $fields->[0];
      if (@$fields > 1) {
        # Mappings (NFKC_CF, FC_NFKC) are no sets of code points.
        push @{$quickCheck{$short}{canonical_value($short, $fields->[1])}}, [$first, $last] if $short =~ /_QC$/;
      }
      else { push @{$binaryRanges{$short}}, [$first, $last]; }
    });
  }
  for my $short (sort keys %binaryRanges) {
    push @sets, [$short, merged(@{$binaryRanges{$short}})];
    my $set = $#sets;
    my %values = map { $_ => [$set, 0] } qw(y yes t true);
    $values{$_} = [$set, 1] for qw(n no f false);
    $properties{$short} = {kind => 'binary', values => \%values};
  }
  for my $short (sort keys %quickCheck) {
    # Listed values are No or Maybe; every other code point is Yes.
    my %values;
    my @all;
    for my $value (sort keys %{$quickCheck{$short}}) {
      push @sets, ["$short=$value", merged(@{$quickCheck{$short}{$value}})];
      push @all, @{$quickCheck{$short}{$value}};
      for my $alias (keys %{$valueCanonical{$short} // {}}) {
        $values{$alias} = [$#sets, 0] if $valueCanonical{$short}{$alias} eq $value;
      }
    }
    push @sets, ["$short=yes", merged(@all)];
    for my $alias (keys %{$valueCanonical{$short} // {}}) {
      $values{$alias} = [$#sets, 1] if $valueCanonical{$short}{$alias} eq 'yes';
    }
    $properties{$short} = {kind => 'enum', values => \%values};
  }
}

# Perl's ASCII classes (\p{PosixDigit} ...), which "(?a)" makes of \d, \s, \w and [[:digit:]] ...
{
  my %posix = (
    PosixAlnum => [[0x30, 0x39], [0x41, 0x5A], [0x61, 0x7A]], PosixAlpha => [[0x41, 0x5A], [0x61, 0x7A]],
    PosixBlank => [[0x09, 0x09], [0x20, 0x20]], PosixCntrl => [[0x00, 0x1F], [0x7F, 0x7F]],
    PosixDigit => [[0x30, 0x39]], PosixGraph => [[0x21, 0x7E]], PosixLower => [[0x61, 0x7A]],
    PosixPrint => [[0x20, 0x7E]], PosixPunct => [[0x21, 0x2F], [0x3A, 0x40], [0x5B, 0x60], [0x7B, 0x7E]],
    PosixSpace => [[0x09, 0x0D], [0x20, 0x20]], PosixUpper => [[0x41, 0x5A]],
    PosixWord => [[0x30, 0x39], [0x41, 0x5A], [0x5F, 0x5F], [0x61, 0x7A]],
    PosixXDigit => [[0x30, 0x39], [0x41, 0x46], [0x61, 0x66]],
  );
  for my $name (sort keys %posix) {
    push @sets, [$name, $posix{$name}];
    my %values = map { $_ => [$#sets, 0] } qw(y yes t true);
    $values{$_} = [$#sets, 1] for qw(n no f false);
    $properties{$name} = {kind => 'binary', values => \%values};
  }
}

open(my $o, '>', $out) or die "$0: cannot write $out: $!\n";
printf $o "// Generated by make_property_tables.pl from the files in %s; not to be edited or committed.\n", $dir;
print $o "#include \"regex/unicode_properties.h\"\n\nnamespace korval::regex::unicode {\n\n";
print $o "const CodeRange kPropertySetRanges[] = {\n";
my @setInfo;
my $offset = 0;
for my $s (@sets) {
  my ($label, $ranges) = @$s;
  push @setInfo, [$offset, scalar @$ranges, $label];
  printf $o "    {0x%X, 0x%X},\n", @$_ for @$ranges;
  $offset += @$ranges;
}
print $o "    {0, 0}};\n\nconst PropertySet kPropertySets[] = {\n";
printf $o "    {%d, %d},  // %s\n", @$_ for @setInfo;
print $o "};\nconst size_t kPropertySetCount = sizeof(kPropertySets) / sizeof(kPropertySets[0]);\n\n";

my (@valueRows, @propertyRows);
for my $short (sort keys %properties) {
  my $p = $properties{$short};
  my $first = @valueRows;
  for my $alias (sort keys %{$p->{values}}) { push @valueRows, [$alias, @{$p->{values}{$alias}}]; }
  my $count = @valueRows - $first;
  my @aliases = @{$propertyAliases{$short} // [loose($short)]};
  my %seen;
  push @propertyRows, [$_, $p->{kind} eq 'binary' ? 1 : 0, $first, $count] for grep { !$seen{$_}++ } @aliases;
}
print $o "const PropertyValueName kPropertyValueNames[] = {\n";
printf $o "    {\"%s\", %d, %s},\n", $_->[0], $_->[1], $_->[2] ? 'true' : 'false' for @valueRows;
print $o "};\n\nconst PropertyName kPropertyNames[] = {\n";
printf $o "    {\"%s\", %s, %d, %d},\n", $_->[0], $_->[1] ? 'true' : 'false', $_->[2], $_->[3]
  for sort { $a->[0] cmp $b->[0] } @propertyRows;
print $o "};\nconst size_t kPropertyNameCount = sizeof(kPropertyNames) / sizeof(kPropertyNames[0]);\n\n";
print $o "}  // namespace korval::regex::unicode\n";
close $o or die "$0: cannot write $out: $!\n";
