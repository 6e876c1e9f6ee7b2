#!/usr/bin/env bash
# Installs a build into a scratch directory and checks the installed tree: the binaries, the
# desktop entry, the file kinds, the manual pages and the documentation with the examples.
# Usage: install_test.sh CMAKE BUILD_DIR CONFIG GUI(0|1) EXAMPLES_DIR BUILT_WIRTOR_CALC VERSION
set -uo pipefail
cmake=$1 build=$2 config=$3 gui=$4 examples=$5 built_calc=$6 version=$7

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
    echo "BŁĄD: $*" >&2
    failures=$((failures + 1))
}
have() { command -v "$1" >/dev/null 2>&1; }

if ! DESTDIR="$tmp/root" "$cmake" --install "$build" ${config:+--config "$config"} --prefix /usr \
    >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log" >&2
    echo "BŁĄD: cmake --install się nie powiodło" >&2
    exit 1
fi
usr=$tmp/root/usr
doc=$usr/share/doc/wirtor

# Every installed file lies under the prefix.
stray=$(find "$tmp/root" -mindepth 1 -maxdepth 1 ! -name usr)
[[ -z $stray ]] || fail "pliki poza /usr: $stray"

[[ -x $usr/bin/wirtor-calc ]] || fail "brak bin/wirtor-calc"
if ((gui)); then
    expected=(bin/wirtor share/applications/wirtor.desktop
              share/icons/hicolor/scalable/apps/wirtor.svg share/man/man1/wirtor.1.gz)
else
    expected=()
    for f in bin/wirtor share/applications/wirtor.desktop share/man/man1/wirtor.1.gz; do
        [[ ! -e $usr/$f ]] || fail "$f zainstalowany w budowie bez programu okienkowego"
    done
fi
expected+=(share/mime/packages/wirtor.xml share/man/man1/wirtor-calc.1.gz
           share/doc/wirtor/README.md share/doc/wirtor/LICENSE share/doc/wirtor/copyright
           share/doc/wirtor/changelog.gz share/doc/wirtor/examples/rura.WT)
for f in "${expected[@]}"; do
    [[ -s $usr/$f ]] || fail "brak $f"
done
((gui)) && { [[ -x $usr/bin/wirtor ]] || fail "bin/wirtor nie jest wykonywalny"; }

# The examples arrive complete and unchanged.
for f in "$examples"/*; do
    cmp -s "$f" "$doc/examples/$(basename "$f")" || fail "przykład $(basename "$f") różni się lub go brak"
done

# The installed batch tool computes as the built one does.
if [[ -x $usr/bin/wirtor-calc && -s $doc/examples/rura.WT ]]; then
    got=$("$usr/bin/wirtor-calc" "$doc/examples/rura.WT" 2>&1) || fail "zainstalowany wirtor-calc zakończył się błędem: $got"
    want=$("$built_calc" "$doc/examples/rura.WT" 2>&1)
    grep -q '^J = ' <<<"$got" || fail "zainstalowany wirtor-calc nie wypisał J: $got"
    [[ $got == "$want" ]] || fail "wyniki zainstalowanego wirtor-calc różnią się od zbudowanego"
fi

# The file kinds: a valid database entry with the model and section patterns.
mime=$usr/share/mime/packages/wirtor.xml
if [[ -s $mime ]]; then
    if have xmllint; then xmllint --noout "$mime" || fail "wirtor.xml nie jest poprawnym XML"; fi
    if have update-mime-database; then
        if update-mime-database "$usr/share/mime" >"$tmp/mime.log" 2>&1; then
            for glob in 'application/x-wirtor-model:\*\.wt' 'application/x-wirtor-model:\*\.WT' \
                        'application/x-wirtor-section:\*\.wts'; do
                grep -q ":$glob\(:\|$\)" "$usr/share/mime/globs2" || fail "brak wzorca $glob w bazie typów"
            done
            grep -q 'Model WIRTOR' "$usr/share/mime/application/x-wirtor-model.xml" ||
                fail "brak polskiej nazwy typu modelu"
        else
            fail "update-mime-database odrzuca wirtor.xml: $(cat "$tmp/mime.log")"
        fi
    fi
fi

# The desktop entry names an installed program and icon and only declared file kinds.
desktop=$usr/share/applications/wirtor.desktop
if ((gui)) && [[ -s $desktop ]]; then
    if have desktop-file-validate; then
        out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    fi
    exec_line=$(sed -n 's/^Exec=//p' "$desktop")
    [[ $exec_line == 'wirtor %f' ]] || fail "Exec=$exec_line"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [[ -s $usr/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "brak ikony $icon"
    IFS=';' read -ra kinds <<<"$(sed -n 's/^MimeType=//p' "$desktop")"
    ((${#kinds[@]})) || fail "brak MimeType w pliku desktop"
    for kind in "${kinds[@]}"; do
        grep -q "type=\"$kind\"" "$mime" || fail "typ $kind nie jest zadeklarowany w wirtor.xml"
    done
    if have xmllint; then
        xmllint --noout "$usr/share/icons/hicolor/scalable/apps/wirtor.svg" || fail "ikona nie jest poprawnym SVG"
    fi
fi

# The changelog's newest entry is the project's version.
if [[ -s $doc/changelog.gz ]]; then
    top=$(gzip -dc "$doc/changelog.gz" | head -n 1)
    [[ $top == "wirtor ($version) "* ]] || fail "changelog zaczyna się od \"$top\", a wersja to $version"
fi

# Manual pages: intact gzip, formatted by groff without warnings, with a NAZWA line for whatis.
for page in "$usr"/share/man/man1/*.1.gz; do
    [[ -e $page ]] || { fail "brak stron podręcznika"; break; }
    gzip -t "$page" || { fail "$(basename "$page") nie jest poprawnym plikiem gzip"; continue; }
    if have groff; then
        warnings=$(gzip -dc "$page" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z 2>&1)
        [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
    fi
    if have lexgrog; then
        lexgrog "$page" >/dev/null 2>&1 || fail "$(basename "$page"): whatis nie znajduje sekcji NAZWA"
    fi
done

((failures == 0)) || exit 1
echo "Instalacja w porządku: $(find "$tmp/root" -type f | wc -l) plików"
