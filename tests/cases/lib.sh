# Shell functions every case's script may use (the runner sources this file
# first).

# font [-b BOX] GLYPH...: prints a BDF font "t" with the glyph records
# GLYPH..., each CODE[:DWIDTH[:BBX[:ROWS]]]: DWIDTH defaults to 6, BBX to
# "5 2 0 0", ROWS (hex rows separated by commas) to F8,88. BOX is the font
# bounding box, "8 8 0 -2" by default.
font() {
  box="8 8 0 -2"
  if [ "$1" = -b ]; then box=$2; shift 2; fi
  printf 'STARTFONT 2.1\nFONT t\nSIZE 8 75 75\nFONTBOUNDINGBOX %s\nSTARTPROPERTIES 1\n' "$box"
  printf 'FONT_ASCENT 6\nENDPROPERTIES\nCHARS %d\n' $#
  for glyph; do
    IFS=: read -r code advance bbx rows <<END
$glyph
END
    printf 'STARTCHAR g%s\nENCODING %s\nSWIDTH 500 0\nDWIDTH %s 0\nBBX %s\nBITMAP\n' \
      "$code" "$code" "${advance:-6}" "${bbx:-5 2 0 0}"
    echo "${rows:-F8,88}" | tr , '\n'
    echo ENDCHAR
  done
  echo ENDFONT
}

# glyphs FILE: the lines of FILE's dump that show its codes.
glyphs() {
  vbtdump --dump "$1" | sed '1,/^file_name /d'
}

# fields FILE FIELD...: the lines of FILE's dump that show those header
# fields.
fields() {
  file=$1
  shift
  vbtdump --dump "$file" | grep -E "^($(echo "$@" | tr ' ' '|')) "
}

# verdict FONT FILE [OPTION...]: on one line, vbtdump --check's verdict on
# FILE, then the first words of the two lines of vbtdump --compare (with the
# conversion OPTIONs): "ok | draws: ok bytes: ok" when FILE is sound, draws
# as FONT does and holds the bytes bdf2vbt writes from it.
verdict() {
  bdf=$1 vbt=$2
  shift 2
  echo "$(vbtdump --check "$vbt") |" $(vbtdump --compare "$@" "$bdf" "$vbt" | cut -d, -f1)
}

# font ... | try EDIT...: for each sed script EDIT, one line: the script,
# what converting the font so edited printed (but its progress line, and
# without "BDF Error: "), the output's glyphs, or "same" when they are those
# of the font as it is, joined by " | ", then " [status N]" when it failed.
try() {
  cat >f.bdf; bdf2vbt -O b.vbt f.bdf >/dev/null 2>&1 && glyphs b.vbt >b
  for e; do
    sed "$e" f.bdf >x.bdf; s=0; bdf2vbt x.bdf >o 2>&1 || s=$?
    grep -v ^Converting o | sed 's/BDF Error: //g' >r
    [ ! -e x.vbt ] || { glyphs x.vbt >g; cmp -s g b && echo same || cat g; } >>r
    said "$e" $s <r
    rm -f x.vbt
  done; rm -f f.bdf b.vbt b x.bdf o r g
}

# joined: the lines of standard input on one line, joined by " | ".
joined() {
  awk '{ printf (NR > 1 ? " | %s" : "%s"), $0 } END { print "" }'
}

# run CMD ARG...: one line: "ARG...:", what CMD printed on either stream (its
# lines joined) and " [status N]" when it failed.
run() {
  cmd=$1
  shift
  status=0
  printed=$("$cmd" "$@" 2>&1) || status=$?
  printf '%s\n' "$printed" | said "$*" $status
}

# said LABEL STATUS: one line: "LABEL:", the lines of standard input joined,
# and " [status STATUS]" unless it is 0.
said() {
  printf '%s:' "$1"
  lines=$(joined)
  [ -z "$lines" ] || printf ' %s' "$lines"
  [ "$2" = 0 ] && echo || echo " [status $2]"
}

# poke FILE OFFSET ESCAPES: writes the bytes of the printf escapes ESCAPES
# into FILE at OFFSET.
poke() {
  printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
