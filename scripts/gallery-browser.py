#!/usr/bin/env python3
"""Loads generated gallery pages in headless Chromium, driven through the
DevTools protocol on a pipe (no network port, no extra packages).

  gallery-browser.py check [--details] <base folder> <output folder> <level>
      Loads every page of the gallery at a phone size (390x844, touch) and a
      desktop size (1280x800): every picture must load and every link,
      stylesheet and script must reach a file; no page may scroll sideways or
      show a picture wider than the window; pages are HTML5 in standards mode
      with a viewport and carry no inline script. The other pages load their
      pictures at once where they are seen first (the first row, and on a
      phone the first screen) and lazily from half a screen below the first
      screen on. On picture pages the largest picture must be a clone, not
      the original, shown no larger than the original was taken, and the
      arrow keys and Escape must open the next, previous and overview page.
      With --details the picture pages must also show the EXIF values that
      exiftool reads from the original and its IPTC texts as text (escaped).
      Prints one line per fault and a summary; exits 1 when something failed.

  gallery-browser.py shoot <page> <out.png> <width>x<height>[m] [<page> <out.png> <size> ...]
      Writes screenshots of the pages' windows; "m" emulates a phone.
"""
import base64
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse
from pathlib import Path

SIZES = [("phone", 390, 844, True), ("desktop", 1280, 800, False)]


class Browser:
    """One headless Chromium; commands and answers are JSON texts separated
    by NUL bytes on the pipes at descriptors 3 (to the browser) and 4."""

    def __init__(self):
        exe = shutil.which("chromium") or shutil.which("chromium-browser")
        if not exe:
            sys.exit("chromium is not installed (scripts/install-deps.sh installs it)")
        self.profile = tempfile.mkdtemp(prefix="galvora-browser-")
        to_browser, self._out = os.pipe()
        self._in, from_browser = os.pipe()

        def wire():
            os.dup2(to_browser, 3)
            os.dup2(from_browser, 4)

        self.process = subprocess.Popen(
            [exe, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             # without extensions it makes no folder beside its own program either
             "--disable-extensions",
             "--allow-file-access-from-files", "--hide-scrollbars", "--remote-debugging-pipe",
             "--user-data-dir=" + self.profile, "about:blank"],
            pass_fds=(3, 4), preexec_fn=wire, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        self._buffer = b""
        self._next = 0
        self.events = []
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Page", "Runtime"):
            self.call(domain + ".enable", session=True)

    def _read(self):
        while b"\0" not in self._buffer:
            chunk = os.read(self._in, 1 << 20)
            if not chunk:
                raise RuntimeError("the browser closed its pipe")
            self._buffer += chunk
        message, self._buffer = self._buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, session=False, **params):
        self._next += 1
        message = {"id": self._next, "method": method, "params": params}
        if session:
            message["sessionId"] = self.session
        data = json.dumps(message).encode() + b"\0"
        while data:
            data = data[os.write(self._out, data):]
        while True:
            answer = self._read()
            if answer.get("id") == self._next:
                if "error" in answer:
                    raise RuntimeError(method + ": " + answer["error"].get("message", "?"))
                return answer.get("result", {})
            self.events.append(answer)

    def wait_for(self, method, seconds=60):
        """Waits for an event of the page, taking the ones already seen first."""
        end = time.monotonic() + seconds
        while True:
            for i, event in enumerate(self.events):
                if event.get("method") == method:
                    del self.events[i]
                    return event
            if time.monotonic() > end:
                raise RuntimeError("no " + method)
            self.events.append(self._read())

    def size(self, width, height, phone):
        self.call("Emulation.setDeviceMetricsOverride", session=True, width=width, height=height,
                  deviceScaleFactor=2 if phone else 1, mobile=phone)
        self.call("Emulation.setTouchEmulationEnabled", session=True, enabled=phone)

    def open(self, url):
        self.events.clear()
        self.call("Page.navigate", session=True, url=url)
        self.wait_for("Page.loadEventFired")

    def run(self, expression):
        answer = self.call("Runtime.evaluate", session=True, expression=expression, awaitPromise=True,
                           returnByValue=True)
        if "exceptionDetails" in answer:
            raise RuntimeError(answer["exceptionDetails"].get("text", "script failed"))
        return answer["result"].get("value")

    def key(self, name, code):
        for kind in ("rawKeyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", session=True, type=kind, key=name, code=name,
                      windowsVirtualKeyCode=code, nativeVirtualKeyCode=code)

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", session=True, format="png")["data"]
        Path(path).write_bytes(base64.b64decode(data))

    def exceptions(self):
        thrown = [e for e in self.events if e.get("method") == "Runtime.exceptionThrown"]
        return [e["params"]["exceptionDetails"].get("text", "?") for e in thrown]

    def close(self):
        try:
            self.call("Browser.close")
        except RuntimeError:
            pass
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.profile, ignore_errors=True)


def file_url(path):
    return "file://" + urllib.parse.quote(str(Path(path).resolve()))


def url_path(url):
    return Path(urllib.parse.unquote(urllib.parse.urlsplit(url).path))


# What every page must hold; answers a list of fault texts. Pictures are
# loaded anew (a lazy picture below the fold would not load by itself), links
# are read through the file system.
PAGE_CHECK = r"""
(async () => {
  const faults = [];
  const w = window.innerWidth;
  if (!document.doctype || document.doctype.name !== 'html') faults.push('no HTML5 doctype');
  if (document.compatMode !== 'CSS1Compat') faults.push('quirks mode');
  if (document.characterSet !== 'UTF-8') faults.push('character set ' + document.characterSet);
  if (!document.documentElement.lang) faults.push('no lang attribute');
  const viewport = document.querySelector('meta[name="viewport"]');
  if (!viewport || !/width=device-width/.test(viewport.content)) faults.push('no viewport');
  if (document.documentElement.scrollWidth > document.documentElement.clientWidth)
    faults.push('scrolls sideways: ' + document.documentElement.scrollWidth + ' > ' + document.documentElement.clientWidth);
  const exists = url => new Promise(done => {
    const x = new XMLHttpRequest();
    x.onload = () => done(true);
    x.onerror = () => done(false);
    try { x.open('GET', url); x.send(); } catch (e) { done(false); }
  });
  const images = [...document.images];
  for (const img of images) {
    const probe = new Image();
    probe.src = img.src;
    try { await probe.decode(); } catch (e) { faults.push('picture does not load: ' + img.getAttribute('src')); continue; }
    const box = img.getBoundingClientRect();
    if (box.width > w + 0.5) faults.push('picture wider than the window: ' + img.getAttribute('src'));
  }
  const refs = [...document.querySelectorAll('a[href], link[href]')].map(e => [e.getAttribute('href'), e.href])
    .concat([...document.querySelectorAll('script[src]')].map(e => [e.getAttribute('src'), e.src]));
  for (const [written, url] of refs)
    if (!url.startsWith('file:') || !(await exists(url))) faults.push('link reaches no file: ' + written);
  if (document.styleSheets.length === 0) faults.push('no stylesheet applies');
  // Pages carry no script of their own, so text from a picture's data can
  // never run as one.
  if (document.querySelector('script:not([src])')) faults.push('a script element in the page');
  return {faults, images: images.length, links: refs.length};
})()
"""

# The largest picture as shown, and the page's text.
PICTURE_FACTS = r"""
(() => {
  let best = null;
  for (const img of document.images) {
    const box = img.getBoundingClientRect();
    const area = box.width * box.height;
    if (!best || area > best.area)
      best = {area, src: img.src, width: img.naturalWidth, height: img.naturalHeight,
              shown: Math.max(box.width, box.height)};
  }
  const link = selector => { const a = document.querySelector(selector); return a ? a.href : ''; };
  return {largest: best, text: document.body.innerText, html: document.body.innerHTML,
          next: link('a[rel~="next"]'), prev: link('a[rel~="prev"]'), up: link('a[data-nav="up"]'),
          script: !!document.querySelector('script[src$="navigation.js"]')};
})()
"""

# The pictures of a page's main part where the page opens, from the top of
# the page, and whether each loads lazily.
FIRST_SCREEN = r"""
(() => [...document.querySelectorAll('main img')].map(img => {
  const box = img.getBoundingClientRect();
  return {src: img.getAttribute('src'), top: box.top + window.scrollY, lazy: img.loading === 'lazy'};
}))()
"""

# The longer side of a picture file as the browser shows it.
LONGER_SIDE = r"""
(async () => {
  const img = new Image();
  img.src = %s;
  await img.decode();
  return Math.max(img.naturalWidth, img.naturalHeight);
})()
"""


def loading_faults(pictures, height, phone):
    """What loads when: the first row always at once, on a phone the whole
    first screen; from half a screen below the first screen on everything
    lazily."""
    faults = []
    first_row = min((p["top"] for p in pictures), default=0) + 1
    for p in pictures:
        if p["lazy"] and p["top"] <= first_row:
            faults.append("a picture of the first row loads lazily: " + p["src"])
        elif p["lazy"] and phone and p["top"] < height:
            faults.append("a picture of the first screen loads lazily: " + p["src"])
        elif not p["lazy"] and p["top"] >= 1.5 * height:
            faults.append("a picture well below the first screen loads at once: " + p["src"])
    return faults


EXIF_TAGS = ["DateTimeOriginal", "Make", "Model", "ExposureTime", "FNumber", "ISO", "FocalLength", "LensModel"]


def number_text(value):
    """A number with at most one decimal, as the pages write it: 5.6, 8, 10.3."""
    text = "%.1f" % (float(value) + 1e-9)
    return text[:-2] if text.endswith(".0") else text


def expected_details(original):
    """The texts a picture page must show for its original, from exiftool."""
    out = subprocess.run(["exiftool", "-j", "-n"] + ["-EXIF:" + t for t in EXIF_TAGS] +
                         ["-IPTC:ObjectName", "-IPTC:Caption-Abstract", "-IPTC:Keywords", "-charset", "iptc=UTF8",
                          str(original)],
                         capture_output=True, text=True, check=True)
    data = json.loads(out.stdout)[0]
    texts = []
    seconds = data.get("ExposureTime")
    if isinstance(seconds, (int, float)) and seconds > 0:
        texts.append(("1/%d s" % int(0.5 + 1 / seconds)) if seconds < 0.25001 else number_text(seconds) + " s")
    if isinstance(data.get("FNumber"), (int, float)) and data["FNumber"] > 0:
        texts.append("f/" + number_text(data["FNumber"]))
    if isinstance(data.get("ISO"), int) and data["ISO"] > 0:
        texts.append("ISO %d" % data["ISO"])
    if isinstance(data.get("FocalLength"), (int, float)) and data["FocalLength"] > 0:
        texts.append(number_text(data["FocalLength"]) + " mm")
    taken = str(data.get("DateTimeOriginal", ""))
    if re.match(r"\d{4}:\d\d:\d\d \d\d:\d\d", taken) and not taken.startswith("0000"):
        texts.append('datetime="%s-%s-%sT%s"' % (taken[0:4], taken[5:7], taken[8:10], taken[11:16]))
    model = str(data.get("Model", "")).strip()
    if model:
        texts.append(model)
    lens = str(data.get("LensModel", "")).strip()
    if lens and lens != "----":
        texts.append(lens)
    for key in ("ObjectName", "Caption-Abstract"):
        if data.get(key):
            texts.append(str(data[key]))
    keywords = data.get("Keywords")
    if keywords:
        texts.extend(str(k) for k in (keywords if isinstance(keywords, list) else [keywords]))
    return texts


def picture_pages(base, output, level):
    """Picture page of every original below the base folder at the level:
    html/<relative folder>/<name>.html, html/<name>.html at level 0."""
    base, output = Path(base), Path(output)
    folders = [base] if level == 0 else [p for p in base.glob("/".join(["*"] * level)) if p.is_dir()]
    pages = {}
    for folder in folders:
        if output == folder or output in folder.parents:
            continue
        for original in folder.iterdir():
            if original.is_file() and original.suffix.lower() in (".jpg", ".jpeg", ".png", ".tif", ".tiff"):
                relative = folder.relative_to(base)
                page = output / "html" / relative / (original.stem + ".html")
                pages[page.resolve()] = original
    return pages


def check(base, output, level, details):
    base, output = Path(base).resolve(), Path(output).resolve()
    pages = sorted(output.rglob("*.html"))
    pictures = picture_pages(base, output, level)
    faults = []
    counts = {"pages": 0, "pictures": 0, "links": 0, "picture pages": 0, "keys": 0, "lazy pictures": 0}
    longer_sides = {}
    if not pages:
        faults.append("no page in " + str(output))
    missing = [p for p in pictures if p not in set(x.resolve() for x in pages)]
    faults.extend("no picture page " + str(p) for p in missing)
    tried = set()
    browser = Browser()
    try:
        for label, width, height, phone in SIZES:
            browser.size(width, height, phone)
            for page in pages:
                where = "%s %s: " % (label, page.relative_to(output))
                browser.open(file_url(page))
                result = browser.run(PAGE_CHECK)
                faults.extend(where + f for f in result["faults"])
                faults.extend(where + "script error: " + e for e in browser.exceptions())
                counts["pages"] += 1
                counts["pictures"] += result["images"]
                counts["links"] += result["links"]
                original = pictures.get(page.resolve())
                if original is None:
                    shown = browser.run(FIRST_SCREEN)
                    faults.extend(where + f for f in loading_faults(shown, height, phone))
                    counts["lazy pictures"] += sum(1 for p in shown if p["lazy"])
                    continue
                counts["picture pages"] += 1
                facts = browser.run(PICTURE_FACTS)
                largest = facts["largest"]
                shown = url_path(largest["src"]).resolve() if largest else None
                if shown is None or shown == original.resolve() or output not in shown.parents \
                        or (output / "thumbs") in shown.parents:
                    faults.append(where + "largest picture is not a clone: %s" % shown)
                elif max(largest["width"], largest["height"]) > 2048:
                    faults.append(where + "largest picture is %dx%d" % (largest["width"], largest["height"]))
                else:
                    if original not in longer_sides:
                        longer_sides[original] = browser.run(LONGER_SIDE % json.dumps(file_url(original)))
                    if largest["shown"] > longer_sides[original] + 0.5:
                        faults.append(where + "picture shown %d pixels long, taken %d" %
                                      (largest["shown"], longer_sides[original]))
                if details:
                    for text in expected_details(original):
                        haystack = facts["html"] if text.startswith("datetime=") else facts["text"]
                        if text not in haystack:
                            faults.append(where + "details lack " + repr(text))
                if phone or not facts["script"]:
                    continue
                # The arrow keys and Escape follow the page's own links.
                for key, code, link in (("ArrowRight", 39, "next"), ("ArrowLeft", 37, "prev"), ("Escape", 27, "up")):
                    if not facts[link] or (key != "ArrowRight" and key in tried):
                        continue
                    if key != "ArrowRight":
                        browser.open(file_url(page))
                    tried.add(key)
                    browser.events.clear()
                    browser.key(key, code)
                    try:
                        browser.wait_for("Page.loadEventFired", 30)
                    except RuntimeError:
                        pass
                    arrived = url_path(browser.run("location.href")).resolve()
                    if arrived != url_path(facts[link]).resolve():
                        faults.append(where + "%s opened %s, not %s" % (key, arrived, facts[link]))
                    elif link != "up" and arrived not in pictures:
                        faults.append(where + "%s opened no picture page: %s" % (key, arrived))
                    counts["keys"] += 1
    finally:
        browser.close()
    for fault in faults:
        print("FAULT " + fault)
    print("CHECKED " + ", ".join("%d %s" % (n, what) for what, n in counts.items()))
    return 1 if faults else 0


def shoot(shots):
    """Screenshots of (page, file, size) triples, one browser for all."""
    browser = Browser()
    try:
        for page, out, size in shots:
            match = re.fullmatch(r"(\d+)x(\d+)(m?)", size)
            if not match:
                sys.exit("size must read <width>x<height>[m]: " + size)
            browser.size(int(match.group(1)), int(match.group(2)), bool(match.group(3)))
            browser.open(file_url(page))
            browser.run("document.fonts.ready.then(() => true)")
            browser.screenshot(out)
    finally:
        browser.close()
    return 0


def main(argv):
    if len(argv) in (5, 6) and argv[1] == "check":
        details = argv[2] == "--details"
        args = argv[3:] if details else argv[2:]
        if len(args) == 3:
            return check(args[0], args[1], int(args[2]), details)
    if len(argv) >= 5 and len(argv) % 3 == 2 and argv[1] == "shoot":
        return shoot([argv[i:i + 3] for i in range(2, len(argv), 3)])
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
