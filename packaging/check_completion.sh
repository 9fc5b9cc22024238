# Part of check_install.cmake: the installed bash completion offers each position of vantor-cli and
# dovrel-cli what it takes. Argument: the install prefix. Silent when every case passes.
set -u
export LC_ALL=C
prefix=$1
source /usr/share/bash-completion/bash_completion
for file in "$prefix"/share/bash-completion/completions/*; do
    source "$file"
done
cd "$(mktemp -d)"
trap 'rm -rf "$PWD"' EXIT
mkdir maps
touch island.map coast.AMF war.scn town.tst sheet.png shot.bmp til.pfp notes.txt

failures=0
# expect "WORDS OF THE LINE" "COMPLETIONS, SORTED": completes the last word of the line.
expect() {
    local line=$1 want=$2
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    local function
    function=$(complete -p "${COMP_WORDS[0]}" | sed 's/.*-F \([^ ]*\).*/\1/')
    "$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [[ $got != "$want" ]]; then
        echo "'$line': offered '$got', expected '$want'"
        failures=$((failures + 1))
    fi
}

expect "vantor-cli " "--help --version convert info render save-scenario sketch tool"
expect "vantor-cli s" "save-scenario sketch"
expect "vantor-cli render " "coast.AMF island.map maps war.scn"
expect "vantor-cli render island.map " "maps sheet.png shot.bmp"
expect "vantor-cli render island.map out.png --" "--background --roads --sets"
expect "vantor-cli render island.map out.png --sets " "maps"
expect "vantor-cli convert island.map out.tmx --cities " "maps town.tst"
expect "vantor-cli convert --homemade war.scn " "coast.AMF island.map maps war.scn"
expect "vantor-cli save-scenario island.map " "maps war.scn"
expect "vantor-cli tool island.map out.map r" "rivers roads"
expect "vantor-cli sketch " "maps shot.bmp"
expect "vantor-cli sketch --scale 4 shot.bmp " "coast.AMF island.map maps war.scn"
expect "vantor-cli info war.scn --h" "--homemade"
expect "dovrel-cli " "--help --version generate"
expect "dovrel-cli generate " "maps til.pfp"
expect "dovrel-cli generate --out " "maps"
expect "dovrel-cli generate --set 1" "1 10 11 12 13 14 15"
expect "dovrel-cli generate --no-" "--no-enhance --no-lines --no-small"
expect "vantor " "coast.AMF island.map maps war.scn"
exit $((failures > 0))
