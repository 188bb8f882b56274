# Test pictures for the imaging layer (sourced by fetch-testdata.sh with
# $dest set and the working directory at $dest). Everything is fetched by
# package name and unpacked below images/; nothing here is committed.
mkdir -p images/pkg
(
  cd images/pkg
  # Debian packages: one picture in many formats, orientation samples, TIFF variants.
  for pkg in libsdl2-image-tests golang-github-rwcarlsen-goexif-dev golang-golang-x-image-dev; do
    if [ ! -e "$pkg.done" ]; then
      rm -rf "$pkg" && mkdir "$pkg"
      ( cd "$pkg" && apt-get download "$pkg" >/dev/null && dpkg-deb -x ./*.deb root && rm -f ./*.deb )
      touch "$pkg.done"
    fi
  done
  # npm: a 24-megapixel camera JPEG and orientation files.
  if [ ! -e exif.done ]; then
    rm -rf exif && mkdir exif
    ( cd exif && npm pack exif@0.6.0 --silent >/dev/null && tar -xzf ./*.tgz && rm -f ./*.tgz )
    touch exif.done
  fi
)
