# Test pictures for our own BMP, PCX, TGA, PSD, Photo CD and metafile codecs
# (sourced by fetch-testdata.sh with $dest set and the working directory at
# $dest). Fetched by package name and unpacked below owncodecs/; nothing here
# is committed. PSD, Photo CD and metafile fixtures are made at test time.
mkdir -p owncodecs
(
  cd owncodecs
  # npm: the Truevision TGA suite with PNG references, and BMP variants.
  for spec in tga@1.0.7 bmp-js@0.1.0; do
    name=${spec%@*}
    if [ ! -e "$name.done" ]; then
      rm -rf "$name" && mkdir "$name"
      ( cd "$name" && npm pack "$spec" --silent >/dev/null && tar -xzf ./*.tgz && rm -f ./*.tgz )
      touch "$name.done"
    fi
  done
  # Debian: real PCX files inside the Allegro examples archive, and one
  # picture as BMP, PCX, TGA and more.
  for pkg in allegro4-doc libsdl2-image-tests; do
    if [ ! -e "$pkg.done" ]; then
      rm -rf "$pkg" && mkdir "$pkg"
      ( cd "$pkg" && apt-get download "$pkg" >/dev/null && dpkg-deb -x ./*.deb root && rm -f ./*.deb )
      touch "$pkg.done"
    fi
  done
  # The Allegro examples come as a compressed tar; only their pictures are needed.
  if [ ! -e allegro-examples.done ]; then
    rm -rf allegro-examples && mkdir allegro-examples
    tar -xzf allegro4-doc/root/usr/share/doc/allegro4-doc/examples/source.tar.gz -m -C allegro-examples \
      --wildcards '*.pcx'
    touch allegro-examples.done
  fi
)
