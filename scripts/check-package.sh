#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root and runs the
# installed command-line tool there as an unprivileged user with a home of
# its own; validates the installed desktop file, metainfo and MIME entry.
#   scripts/check-package.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cmake --build "$build" --target package
deb=$(ls -t "$build"/quillmark_*.deb | head -n1)
echo "package: $deb"
dpkg-deb -f "$deb" Depends

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
root="$work/root"
dpkg-deb -x "$deb" "$root"

module=$(find "$root/usr/lib" -path '*/quillmark/quillmark-cli-tools.so' | head -n1)
[ -n "$module" ] || { echo "check-package: the command-line tool's module is not in the package" >&2; exit 1; }
echo "module: ${module#$root}"
for f in usr/bin/quillmark usr/bin/quillmark-cli usr/share/man/man1/quillmark.1 \
         usr/share/man/man1/quillmark-cli.1 usr/share/bash-completion/completions/quillmark-cli \
         usr/share/applications/org.quillmark.Studio.desktop usr/share/mime/packages/quillmark.xml \
         usr/share/icons/hicolor/scalable/apps/quillmark.svg \
         usr/share/metainfo/org.quillmark.Studio.metainfo.xml; do
  [ -e "$root/$f" ] || { echo "check-package: $f is not in the package" >&2; exit 1; }
done
if [ -e "$root/usr/bin/quillmark.portable" ]; then
  echo "check-package: the package carries the portable marker" >&2
  exit 1
fi
appstreamcli validate --no-net "$root/usr/share/metainfo/org.quillmark.Studio.metainfo.xml"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/org.quillmark.Studio.desktop"
fi
xmllint --noout "$root/usr/share/mime/packages/quillmark.xml"

# an ordinary user who owns nothing but a home
home="$work/home"
out="$work/out"
mkdir -p "$home" "$out"
cp -r skins/demo "$work/skin"
chmod -R a+rX "$work"
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$home" "$out"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
else
  as_user=()
fi
run() {
  "${as_user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}
cli="$root/usr/bin/quillmark-cli"

run "$cli" --version | tee "$work/version.txt"
grep -q "^quillmark-cli [0-9]" "$work/version.txt"
if run "$cli" --help | grep -q '^  check '; then
  run "$cli" check "$work/skin/port/py_26.ini"
else
  echo "check-package: this quillmark-cli has no check command; skipped"
fi
# the archive commands run in the program itself, which does without Qt Gui;
# render runs in the module it loads
if ldd "$cli" | grep -q libQt5Gui; then
  echo "check-package: quillmark-cli links Qt Gui" >&2
  exit 1
fi
run "$cli" pack "$work/skin" "$out/skin.zip"
run "$cli" unpack "$out/skin.zip" "$out/skin"
diff -r "$work/skin" "$out/skin" >/dev/null || { echo "check-package: unpack did not give the skin back" >&2; exit 1; }
run "$cli" render "$work/skin/port/py_26.ini" -o "$out/panel.png"
[ -s "$out/panel.png" ] || { echo "check-package: render wrote nothing" >&2; exit 1; }
run "$root/usr/bin/quillmark" --version
# the window, headless, on a panel file for a few seconds: its settings and
# log directory appear below the user's home
run QT_QPA_PLATFORM=offscreen timeout 15 "$root/usr/bin/quillmark" "$work/skin/port/py_26.ini" \
  > "$work/editor.txt" 2>&1 || [ $? -eq 124 ] || { cat "$work/editor.txt" >&2; exit 1; }
[ -f "$home/.config/Quillmark/Quillmark/quillmark_settings.ini" ] \
  || { echo "check-package: no settings below the home" >&2; cat "$work/editor.txt" >&2; exit 1; }
[ -d "$home/.local/state/quillmark" ] \
  || { echo "check-package: no log directory below the home" >&2; exit 1; }
# nothing is written next to the installed programs
if [ -n "$(ls "$root/usr/bin" | grep -v '^quillmark\(-cli\)\?$')" ]; then
  echo "check-package: the programs wrote into their directory:" >&2
  ls "$root/usr/bin" >&2
  exit 1
fi
echo "check-package: ok"
