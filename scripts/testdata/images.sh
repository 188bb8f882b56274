# Test pictures for the imaging layer (sourced by fetch-testdata.sh with
# $dest set and the working directory at $dest). Everything is fetched by
# package name and unpacked below images/pkg/; nothing here is committed.
#   libsdl2-image-tests          one picture in many formats (PNG reference)
#   golang-github-rwcarlsen-goexif-dev   orientation samples f1..f8
#   golang-golang-x-image-dev    TIFF variants with PNG references
#   npm exif@0.6.0               a 24-megapixel camera JPEG and orientation files
mkdir -p images/pkg
(
  cd images/pkg
  fetch_deb() {
    # apt fetches as its own user, so the folder must be open to it; a
    # machine whose package lists are still empty gets them once.
    chmod 0777 .
    apt-get download "$1" >/dev/null 2>&1 || { apt-get update -q >/dev/null && apt-get download "$1" >/dev/null; }
  }
  for pkg in libsdl2-image-tests golang-github-rwcarlsen-goexif-dev golang-golang-x-image-dev; do
    if [ ! -e "$pkg.done" ]; then
      rm -rf "$pkg" && mkdir "$pkg"
      ( cd "$pkg" && fetch_deb "$pkg" && dpkg-deb -x ./*.deb root && rm -f ./*.deb )
      touch "$pkg.done"
    fi
  done
  if [ ! -e exif.done ]; then
    rm -rf exif && mkdir exif
    ( cd exif && npm pack exif@0.6.0 --silent >/dev/null && tar -xzf ./*.tgz && rm -f ./*.tgz )
    touch exif.done
  fi
)
