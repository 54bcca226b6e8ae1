#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses Quorvel from there as a user would: the
# installed programs must run and find their recordings, every file a desktop, a shell or man
# looks for must be in its place, and what those files say must agree with the programs.
# Every failed check is reported, not only the first.
# usage: install_test.sh BUILD_DIR SOURCE_DIR APP_ID
set -uo pipefail

build=${1:?usage: install_test.sh BUILD_DIR SOURCE_DIR APP_ID}
source_dir=${2:?}
app_id=${3:?}

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel_install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/usr
share=$prefix/share
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
check_file() {
    [[ -f $1 && -s $1 ]] || fail "not installed or empty: ${1#"$work"/}"
}

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi

# Every file in its place.
for program in quorvel quorvel-calc; do
    [[ -x $prefix/bin/$program ]] || fail "bin/$program is not an installed program"
done
expected=(
    "$share/applications/$app_id.desktop"
    "$share/metainfo/$app_id.metainfo.xml"
    "$share/icons/hicolor/scalable/apps/$app_id.svg"
    "$share/man/man1/quorvel.1.gz"
    "$share/man/man1/quorvel-calc.1.gz"
    "$share/bash-completion/completions/quorvel"
    "$share/bash-completion/completions/quorvel-calc"
    "$share/doc/quorvel/copyright"
    "$share/doc/quorvel/changelog.gz"
    "$share/doc/quorvel/README.md.gz"
    "$share/doc/quorvel/NEWS.gz"
)
for size in 16 32 48 64 128 256; do
    expected+=("$share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
for file in "$source_dir"/res/sounds/*.wav; do
    expected+=("$share/quorvel/sounds/${file##*/}")
done
for file in "${expected[@]}"; do check_file "$file"; done
# The manual is inside the window; a second, installed copy could only fall out of step.
[[ ! -e $share/quorvel/help ]] || fail "the HTML manual is installed beside the window's own"
# The documents are the ones in the source tree.
for doc in README.md NEWS; do
    cmp -s <(zcat "$share/doc/quorvel/$doc.gz" 2>/dev/null) "$source_dir/$doc" ||
        fail "share/doc/quorvel/$doc.gz is not $doc"
done
# Where the recordings come from is stated: the voice, its licence and the recipe.
for phrase in "Files: res/sounds/\*.wav" "flite" "cmu_us_slt" "res/sounds/generate.sh" \
    "License: flite"; do
    grep -q "$phrase" "$share/doc/quorvel/copyright" 2>/dev/null ||
        fail "the copyright file does not say $phrase"
done

# A theme icon must be as large as its folder says; the PNG header holds width and height.
for size in 16 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x$size/apps/$app_id.png
    [[ -f $png ]] || continue
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [[ $width == "$size" && $height == "$size" ]] ||
        fail "${size}x$size icon is ${width}x$height"
done

# The desktop entry, the icon and the AppStream component name one another.
desktop=$share/applications/$app_id.desktop
metainfo=$share/metainfo/$app_id.metainfo.xml
if [[ -f $desktop ]]; then
    grep -qx "Icon=$app_id" "$desktop" || fail "the desktop file's Icon is not $app_id"
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [[ -x $prefix/bin/$exec_program ]] || fail "the desktop file starts '$exec_program'"
    for word in talking speech calculator steps; do
        grep -q "^Keywords=.*\b$word;" "$desktop" || fail "Keywords lack $word"
    done
    # One main category, so that menus list the program once.
    categories=$(sed -n 's/^Categories=//p' "$desktop")
    main=0
    for category in ${categories//;/ }; do
        case $category in
            AudioVideo | Audio | Video | Development | Education | Game | Graphics | Network | \
                Office | Science | Settings | System | Utility) main=$((main + 1)) ;;
        esac
    done
    ((main == 1)) || fail "the desktop file has $main main categories: $categories"
    [[ ";$categories" == *";Calculator;"* ]] || fail "the desktop file is not in Calculator"
fi
if [[ -f $metainfo ]]; then
    grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $app_id.desktop"
fi
if command -v desktop-file-validate >/dev/null; then
    # Silent: a hint is a fault too.
    desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1 && [[ ! -s $work/desktop.log ]] ||
        fail "desktop-file-validate: $(cat "$work/desktop.log")"
else
    echo "desktop-file-validate is not installed; the desktop file is not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >"$work/metainfo.log" 2>&1 ||
        fail "appstreamcli validate: $(cat "$work/metainfo.log")"
else
    echo "appstreamcli is not installed; the metainfo file is not validated"
fi

# The version the programs print is the one the manual pages, the release list and the
# changelog give.
calc=$prefix/bin/quorvel-calc
version=$("$calc" --version | awk '{print $2}')
[[ $("$prefix/bin/quorvel" --version) == "quorvel $version" ]] ||
    fail "quorvel --version is not quorvel $version"
for page in quorvel quorvel-calc; do
    zcat "$share/man/man1/$page.1.gz" 2>/dev/null | head -1 | grep -q "\"Quorvel $version\"" ||
        fail "$page.1 is not the manual of version $version"
done
grep -q "<release version=\"$version\"" "$metainfo" 2>/dev/null ||
    fail "the metainfo has no release $version"
zcat "$share/doc/quorvel/changelog.gz" 2>/dev/null | head -1 | grep -q "^quorvel ($version)" ||
    fail "the changelog does not start with version $version"

# The installed quorvel-calc calculates, and speaks with the installed recordings: no sounds
# folder lies beside it, so it must find share/quorvel/sounds.
[[ $("$calc" '2+3*4') == 14 ]] || fail "installed quorvel-calc: 2+3*4 is not 14"
speak() { "$calc" --speak-to "$work/seven.wav" key 7 2>"$work/speak.err"; }
rm -f "$work/seven.wav"
if ! speak || grep -q . "$work/speak.err"; then
    fail "installed quorvel-calc --speak-to: $(cat "$work/speak.err")"
fi
# A WAV header is 44 bytes; the spoken word adds its samples.
[[ $(stat -c %s "$work/seven.wav" 2>/dev/null || echo 0) -gt 1000 ]] ||
    fail "the spoken key 7 holds no recording"
# Without the installed recordings the same run says what is missing, so the check above
# really saw them used.
mv "$share/quorvel/sounds" "$work/sounds.aside"
speak
grep -q "no recordings found" "$work/speak.err" ||
    fail "without share/quorvel/sounds quorvel-calc did not miss them: $(cat "$work/speak.err")"
mv "$work/sounds.aside" "$share/quorvel/sounds"

# The installed window opens offscreen, paints and quits.
probe=$work/window.probe
QT_QPA_PLATFORM=offscreen QUORVEL_STARTUP_PROBE=$probe QUORVEL_PROBE_QUIT=1 \
    XDG_DATA_DIRS=$share timeout 60 "$prefix/bin/quorvel" --data "$work/data" --style mini \
    </dev/null >"$work/window.out" 2>"$work/window.err"
status=$?
[[ $status == 0 ]] || fail "installed quorvel ended with $status: $(cat "$work/window.err")"
grep -q painted_ns "$probe" 2>/dev/null || fail "installed quorvel painted no window"
[[ -s $work/data/SysData.dat ]] || fail "installed quorvel recorded no style in its data file"

# Every option the programs list is in their manual page and in their completion.
options_of() {
    "$1" --help | grep -E '^  -' | grep -oE -- '(^|[ ,[])--?[a-z][a-z-]*' | tr -d ' ,[' | sort -u
}
for program in quorvel quorvel-calc; do
    completion=$share/bash-completion/completions/$program
    page=$(zcat "$share/man/man1/$program.1.gz" 2>/dev/null)
    count=0
    for option in $(options_of "$prefix/bin/$program"); do
        count=$((count + 1))
        grep -qF -- "${option//-/\\-}" <<<"$page" || fail "$program.1 lacks $option"
        grep -qE -- "(^|[ '])$option([ ']|$)" "$completion" || fail "$program completion lacks $option"
    done
    ((count >= 4)) || fail "$program --help lists only $count options"
    if command -v groff >/dev/null; then
        warnings=$(groff -man -ww -z <<<"$page" 2>&1)
        [[ -z $warnings ]] || fail "$program.1: $warnings"
    fi
done

# What the completion offers, when bash-completion is there to run it.
bash_completion=/usr/share/bash-completion/bash_completion
if [[ -f $bash_completion ]]; then
    mapfile -t categories < <("$calc" --units)
    # The window styles as quorvel --help names them: "(standard, cartoon, mini or detail)".
    styles=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/quorvel" --help | tr '\n' ' ' |
        sed -n 's/.*--style NAME[^(]*(\([^)]*\)).*/\1/p' | sed 's/ or /|/; s/, /|/g')
    [[ -n $styles ]] || fail "quorvel --help names no styles"
    # Each case: the program and the command line after it, then the offers, all split by "|".
    cases=(
        "quorvel-calc --mo|--mode"
        "quorvel-calc -|-h|-V|-f|--places|--digits|--degrees|--radians|--steps|--precise|--file|--data|--words|--speak|--speak-to|--units|--convert|--batch|--mode|--output|--e-notation|--help|--version"
        "quorvel-calc --batch x.txt --mode |addresult|addsteps|detailfilter|genfilter|replaceresult"
        "quorvel-calc --words |expr|input|inputresult|key|msg|result"
        "quorvel-calc --speak-to out.wav |expr|input|inputresult|key|msg|result"
        "quorvel-calc --units |$(IFS='|'; echo "${categories[*]}")"
        "quorvel-calc --convert te|temperature"
        "quorvel-calc --convert length 1 fo|foot\(UK\ and\ US\)|foot\(US\ survey\)"
        "quorvel-calc --convert length 1 foot me|metre"
        "quorvel-calc --convert temperature 100 C F |"
        "quorvel --|--data|--style|--zoom|--help|--version"
        "quorvel --style |$styles"
        "quorvel --data $work/data --style m|mini"
    )
    for case in "${cases[@]}"; do
        line=${case%%|*}
        program=${line%% *}
        want=$(tr '|' '\n' <<<"${case#*|}" | sed '/^$/d' | sort)
        got=$(
            bash --norc --noprofile -c '
                source "$1"; source "$2"
                read -ra COMP_WORDS <<<"$3"
                [[ $3 == *" " ]] && COMP_WORDS+=("")
                COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
                COMP_LINE=$3 COMP_POINT=${#3}
                "$4"
                printf "%s\n" "${COMPREPLY[@]}"' _ \
                "$bash_completion" "$share/bash-completion/completions/$program" \
                "$prefix/bin/$line" "_${program//-/_}" 2>&1 | sed '/^$/d' | sort
        )
        [[ $got == "$want" ]] || fail "completing '$line': got [${got//$'\n'/, }]," \
            "want [${want//$'\n'/, }]"
    done
else
    echo "bash-completion is not installed; the completion is not run"
fi

if ((failures > 0)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed into a temporary prefix: ${#expected[@]} files present, programs run from there"
