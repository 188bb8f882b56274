#!/usr/bin/env bash
# The Debian package made by cpack from this build: named by version and
# architecture, it holds the program and everything its install gives the
# desktop below /usr, depends on the packages of the libraries the program is
# linked with, and its program runs where the package puts it.
source "$(dirname "$0")/batch_support.sh" "$1"
shown() { cat "$1"; false; }
id=org.mervadon.Galvora
version=$("$galvora" --version | sed -n '1s/^Galvora //p')
arch=$(dpkg --print-architecture)

"$GALVORA_CPACK" -G DEB --config "$GALVORA_BUILD_DIR/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1; rc=$?
check "cpack -G DEB succeeds" '[ $rc -eq 0 ] || shown "$tmp/cpack.log"'
deb=$tmp/package/galvora_${version}_${arch}.deb
check "the package is galvora_${version}_${arch}.deb" '[ -f "$deb" ]'

field() { dpkg-deb --field "$deb" "$1"; }
check "package name, version, architecture, section" \
  '[ "$(field Package)" = galvora ] && [ "$(field Version)" = "$version" ] &&
   [ "$(field Architecture)" = "$arch" ] && [ "$(field Section)" = graphics ]'
check "package has a maintainer and a description" '[ -n "$(field Maintainer)" ] && [ "$(field Description | wc -l)" -gt 2 ]'

# Depends: every library package the program is linked with, each a package
# this machine has (dpkg-shlibdeps found them through the linked libraries).
depends=$(field Depends)
for package in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo libpng16-16 libtiff6 \
               libgif7 libraw20 libwmf-0.2-7 libfontconfig1 libfreetype6 libcurl4 libpcre2-8-0 libodbc2; do
  check "Depends names $package" '[[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]]'
done
check "every package in Depends exists" '
  ok=1
  while read -r alternatives; do
    found=0
    for name in $(echo "$alternatives" | sed "s/([^)]*)//g; s/|/ /g"); do
      dpkg-query -W "$name" >/dev/null 2>&1 && found=1
    done
    [ $found -eq 1 ] || { echo "unknown: $alternatives"; ok=0; }
  done < <(echo "$depends" | tr "," "\n")
  [ $ok -eq 1 ]'

dpkg-deb --contents "$deb" | awk '{print $6}' >"$tmp/contents"
for file in ./usr/bin/galvora ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
            ./usr/share/man/man1/galvora.1 ./usr/share/man/de/man1/galvora.1 ./usr/share/icons/hicolor/scalable/apps/$id.svg \
            ./usr/share/icons/hicolor/16x16/apps/$id.png ./usr/share/icons/hicolor/256x256/apps/$id.png \
            ./usr/share/galvora/languages/english.lng ./usr/share/galvora/profiles/album.qvp \
            ./usr/share/galvora/help/index.html ./usr/share/galvora/metadata.def; do
  check "package holds $file" 'grep -qxF "$file" "$tmp/contents"'
done
check "package holds nothing outside /usr" '! grep -v "^\./usr/" "$tmp/contents" | grep -qvx "\./"'
check "the packaged program is stripped" \
  'dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/bin/galvora >"$tmp/galvora.bin" && file "$tmp/galvora.bin" | grep -q ", stripped"'

# Unpacked as dpkg would put it, the program finds its files beside itself.
# (The sanitizer build's program: fontconfig keeps a little of its
# configuration to the end, which the text stamp of the profile loads.)
dpkg-deb --extract "$deb" "$tmp/root"
echo "leak:libfontconfig.so" >"$tmp/lsan.supp"
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$tmp/lsan.supp
make_base
"$tmp/root/usr/bin/galvora" /Profile=galerie "/Basedir=$tmp/base" /Level=1 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "the packaged program makes a gallery with a shipped profile" '[ $rc -eq 0 ] && [ "$(pages_in "$tmp/base")" -gt 0 ] || shown "$tmp/err"'

exit $fail
