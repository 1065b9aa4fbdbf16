#!/usr/bin/env bash
# Loads the bash completion of sporvik-extract as bash-completion does and
# checks what it offers on a few command lines; its options must be the ones
# `sporvik-extract --help` lists, so a new option cannot be forgotten.
#   check-completion.sh COMPLETION_FILE SPORVIK_EXTRACT
set -uo pipefail
completion=$1
extract=$2
source /usr/share/bash-completion/bash_completion || exit 1
source "$completion" || exit 1

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
mkdir glyphs
touch tool.exe 'my tool.exe' -- '--odd.exe'

failed=0
# offers LINE EXPECTED...: completing the last word of LINE gives EXPECTED.
offers() {
  local line=$1
  shift
  # Words as bash splits them for completion: "=" stands alone.
  read -ra COMP_WORDS <<<"${line//=/ = }"
  [[ $line == *[\ =] ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMPREPLY=()
  _sporvik_extract sporvik-extract "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got want
  got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort)
  want=$(printf '%s\n' "$@" | LC_ALL=C sort)
  if [ "$got" != "$want" ]; then
    echo "\"$line\": offered [${got//$'\n'/, }], expected [${want//$'\n'/, }]"
    failed=1
  fi
}

options=$("$extract" --help | grep -E '^ +-' | sed -E 's/^ +//; s/  .*//' |
  grep -oE -- '(^|[ ,])-{1,2}[a-z][-a-z]*' | tr -d ' ,')
# shellcheck disable=SC2086
offers 'sporvik-extract -' $options
offers 'sporvik-extract --ov' --overwrite
offers 'sporvik-extract --overwrite ' ask no yes
offers 'sporvik-extract --overwrite=a' ask
offers 'sporvik-extract -o ' glyphs
offers 'sporvik-extract --output=' glyphs
offers 'sporvik-extract --start '
offers 'sporvik-extract --json --o' --output --overwrite
offers 'sporvik-extract --json ' glyphs tool.exe 'my tool.exe' --odd.exe
offers 'sporvik-extract -- -q --' --odd.exe

# Options added later are one more line each, of any kind of value.
_sporvik_extract_options+='
--log FILE
--name NAME
--mode fast|slow-ish'
offers 'sporvik-extract -' $options --log --name --mode
offers 'sporvik-extract --log ' glyphs tool.exe 'my tool.exe' --odd.exe
offers 'sporvik-extract --log=my' 'my tool.exe'
offers 'sporvik-extract --name '
offers 'sporvik-extract --mode s' slow-ish

[ $failed -eq 0 ] && echo "completion: OK"
exit $failed
