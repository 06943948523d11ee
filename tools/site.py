#!/usr/bin/env python3
"""Assembles the browser edition's static site from the built program and the page.

    site.py --program DIR --page DIR --assets DIR --out DIR
    site.py --stamp DIR

writes into OUT: index.html (the page, with the pictures the screens show as templates), the
page's style and script, the script a class's link loads (klasse.js), the teacher's page of a
class's board (lehrer.html with its script and style, and the QR encoder it draws with), the
program (zifferix.js, zifferix.wasm), the icon at the sizes
browsers ask for and the web app manifest, the fonts as web fonts cut down to the characters a
German text needs, with their licences beside them, and last the service worker, stamped with
the build's version (a digest of every other file) and each file's digest. With --link-names,
also the teacher's page of links (links.html, see links.py), which the game does not link to.

Every file but the pages (index.html, links.html, lehrer.html, barrierefreiheit.html), the worker, the
manifest and the licences is named after its content (zifferix.3f9a1c2e.wasm), and what names it
names it so: a server can let browsers keep such a file for good, since another build's file has
another name. The parts are made in
OUT-parts, where they keep their plain names and are only made again when their sources change.

--stamp names and stamps an existing site anew, after a file of it has changed. Every URL in
the site is relative, so any static server can serve it, also from a subfolder.
"""

import argparse
import hashlib
import html
import json
import logging
import os
import pathlib
import re
import shutil
import subprocess
import sys

import links

# The fonts the page ships, from Debian's packages, and where their licences are.
FONTS = {
    "LiberationSans-Regular": "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "LiberationSans-Bold": "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
    "ComicNeue-Regular": "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf",
    "ComicNeue-Bold": "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf",
}
LICENCES = {
    "LICENSE-LiberationSans.txt": "/usr/share/doc/fonts-liberation2/copyright",
    "LICENSE-ComicNeue.txt": "/usr/share/doc/fonts-comic-neue/copyright",
}
# Latin-1 and the punctuation of German texts: quotes, dashes, the ellipsis, the euro.
UNICODES = "U+0020-007E,U+00A0-00FF,U+2013-2014,U+2018-201E,U+2022,U+2026,U+20AC,U+2212"

PICTURES_MARK = "<!-- the pictures the screens show -->"

# The teacher's page of a class's board, beside links.html, with its scripts and style: the page
# keeps its name, the rest are named after their content.
TEACHER = re.compile(r"^lehrer[\w-]*\.(html|js|css)$")

# The icon as browsers and home screens ask for it: (file, size, background). A maskable icon
# and Apple's fill their square, so they get the start screen's colour behind the tile.
ICONS = [
    ("icon-192.png", 192, None),
    ("icon-512.png", 512, None),
    ("icon-maskable-512.png", 512, "#008080"),
    ("apple-touch-icon.png", 180, "#008080"),
]


def template_of(name, text):
    """A picture as the page holds it: an inert template named after the picture's file."""
    if name.endswith(".svg"):
        text = re.sub(r"<\?xml[^>]*\?>", "", text)
        text = re.sub(r"<!--.*?-->", "", text, flags=re.S).strip()
    else:
        body = re.search(r"<body([^>]*)>(.*)</body>", text, flags=re.S)
        if not body:
            sys.exit(f"site.py: {name} has no body")
        style = re.search(r'style="([^"]*)"', body.group(1))
        attributes = f' style="{style.group(1)}"' if style else ""
        text = f"<div{attributes}>{body.group(2).strip()}</div>"
    return f'<template id="asset:{html.escape(name)}">{text}</template>'


def pictures(assets):
    """Every picture a screen shows: the welcome text, the instructions and the drawings."""
    files = sorted(assets.glob("*.html")) + sorted(assets.glob("instructions/*.html"))
    files += [f for f in sorted(assets.glob("*.svg")) if f.name != "zifferix.svg"]
    return [template_of(f.relative_to(assets).as_posix(), f.read_text("utf-8")) for f in files]


# Emscripten's own minifier, which has made the program's script: it drops the page's comments
# and spaces as well.
MINIFIER = pathlib.Path("/usr/share/emscripten/tools/acorn-optimizer.js")


def minified(script):
    node = shutil.which("node") or sys.exit("site.py: Node.js is needed to minify the page's script")
    environment = {**os.environ, "NODE_PATH": "/usr/share/nodejs"}  # where Debian keeps acorn
    return subprocess.run([node, str(MINIFIER), str(script), "minifyWhitespace"], check=True,
                          capture_output=True, text=True, env=environment).stdout


def up_to_date(target, *sources):
    return target.exists() and all(target.stat().st_mtime >= s.stat().st_mtime for s in sources)


def fonts(out):
    from fontTools import subset

    logging.getLogger("fontTools.subset").setLevel(logging.ERROR)  # tables it only drops

    folder = out / "fonts"
    folder.mkdir(exist_ok=True)
    for name, source in FONTS.items():
        target = folder / f"{name}.woff2"
        if up_to_date(target, pathlib.Path(source)):
            continue
        options = subset.Options()
        options.flavor = "woff2"
        options.layout_features = ["kern", "liga"]
        options.name_IDs = ["*"]  # the names and the licence travel with the font
        font = subset.load_font(source, options)
        subsetter = subset.Subsetter(options)
        subsetter.populate(unicodes=subset.parse_unicodes(UNICODES))
        subsetter.subset(font)
        subset.save_font(font, str(target), options)
    for name, source in LICENCES.items():
        shutil.copyfile(source, folder / name)


def icons(svg, out):
    folder = out / "icons"
    folder.mkdir(exist_ok=True)
    for name, size, background in ICONS:
        target = folder / name
        if up_to_date(target, svg):
            continue
        command = ["rsvg-convert", "--width", str(size), "--height", str(size), "--output", str(target)]
        if background:
            command += ["--background-color", background]
        subprocess.run(command + [str(svg)], check=True)


# The files that keep their names: what is opened or fetched by its name, and what names the rest.
KEEPS_NAME = re.compile(r"^(index\.html|sw\.js|manifest\.webmanifest|links\.html|lehrer\.html|barrierefreiheit\.html|fonts/LICENSE-.*\.txt)$")
# A name with the content's digest: the servers' configurations match names by the same pattern.
NAMED = re.compile(r"^(?P<stem>.+?)(?:\.(?P<digest>[0-9a-f]{8}))?(?P<suffix>\.[a-z0-9]+)$")
# The files that name others, and so are named after the files they name.
NAMES_OTHERS = (".html", ".css", ".js", ".webmanifest")


def named(file, out):
    """The name file's content gives it in the site."""
    match = NAMED.match(file.relative_to(out).as_posix())
    digest = hashlib.sha256(file.read_bytes()).hexdigest()[:8]
    return f"{match['stem']}.{digest}{match['suffix']}"


def reference(name):
    """A name as another file of the site names it: whole, between quotes or brackets."""
    return re.compile(r"(?<=[\"'(])" + re.escape(name) + r"(?=[\"')#?])")


def fingerprint(out):
    """Names every file but those that keep their names after its content, and what names it
    names it so: first the files that name none, then the style sheet and the script, whose
    digests take in the names they hold, and last the pages and the manifest."""
    texts = [f for f in out.rglob("*") if f.is_file() and f.suffix in NAMES_OTHERS and f.name != "sw.js"]
    order = sorted((f for f in out.rglob("*") if f.is_file()), key=lambda f: (f.suffix in NAMES_OTHERS, f.as_posix()))
    for file in order:
        old = file.relative_to(out).as_posix()
        if KEEPS_NAME.match(old) or old == "sw.js":
            continue
        new = named(file, out)
        if new == old:
            continue
        file.rename(out / new)
        texts = [out / new if t == file else t for t in texts]
        for text in texts:
            content = text.read_text("utf-8")
            changed = reference(old).sub(new, content)
            if changed != content:
                text.write_text(changed, "utf-8")
    # Nothing may still name a file by a name it no longer has.
    gone = {f"{NAMED.match(f.relative_to(out).as_posix())['stem']}{f.suffix}" for f in out.rglob("*")
            if f.is_file() and not KEEPS_NAME.match(f.relative_to(out).as_posix()) and f.name != "sw.js"}
    for text in texts:
        content = text.read_text("utf-8")
        for name in gone:
            if reference(name).search(content):
                sys.exit(f"site.py: {text.relative_to(out)} still names {name}")


def stamp(out, worker):
    """Writes the service worker with the build's version and every file's digest."""
    digests = {}
    for file in sorted(f for f in out.rglob("*") if f.is_file() and f.name != "sw.js"):
        digests[file.relative_to(out).as_posix()] = hashlib.sha256(file.read_bytes()).hexdigest()
    version = hashlib.sha256(json.dumps(digests, sort_keys=True).encode()).hexdigest()[:16]
    text = worker.replace("@VERSION@", version).replace("@FILES@", json.dumps(digests, indent=1))
    (out / "sw.js").write_text(text, "utf-8")
    return version


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", type=pathlib.Path)
    parser.add_argument("--page", type=pathlib.Path)
    parser.add_argument("--assets", type=pathlib.Path)
    parser.add_argument("--out", type=pathlib.Path)
    parser.add_argument("--stamp", type=pathlib.Path, help="stamp an existing site anew")
    parser.add_argument("--link-names", type=pathlib.Path, help="the program that prints the links' names")
    args = parser.parse_args()
    if args.stamp:
        worker = (pathlib.Path(__file__).parent.parent / "shell/web/page/sw.js").read_text("utf-8")
        fingerprint(args.stamp)
        print(stamp(args.stamp, worker))
        return
    if not (args.program and args.page and args.assets and args.out):
        parser.error("--program, --page, --assets and --out are needed to build a site")

    # The parts keep their plain names; the site is laid out anew from them every time, so that
    # it holds no file of an earlier build.
    out = args.out
    parts = out.with_name(f"{out.name}-parts")
    parts.mkdir(parents=True, exist_ok=True)
    page = (args.page / "index.html").read_text("utf-8")
    if PICTURES_MARK not in page:
        sys.exit("site.py: the page has no place for the pictures")
    page = page.replace(PICTURES_MARK, "\n".join(pictures(args.assets)))
    (parts / "index.html").write_text(page, "utf-8")
    for name in ("zifferix.css", "manifest.webmanifest", "barrierefreiheit.html"):
        shutil.copyfile(args.page / name, parts / name)
    shutil.copyfile(args.program / "zifferix.wasm", parts / "zifferix.wasm")
    # One script, loaded as soon as it comes: the program's, and the page's start after it.
    script = (args.program / "zifferix.js").read_text("utf-8") + "\n" + minified(args.page / "boot.js")
    (parts / "zifferix.js").write_text(script, "utf-8")
    # What a class needs, loaded only for a class's link, and the teacher's page of the class.
    (parts / "klasse.js").write_text(minified(args.page / "klasse.js"), "utf-8")
    for stale in (f for f in parts.glob("lehrer*") if TEACHER.match(f.name)):
        stale.unlink()
    for file in (f for f in args.page.glob("lehrer*") if TEACHER.match(f.name)):
        shutil.copyfile(file, parts / file.name)
    # The teacher's page draws the class's codes with the same encoder as links.html, as a file
    # of its own: its Content-Security-Policy lets no script in the page run.
    shutil.copyfile(links.ENCODER, parts / "qrcode.js")
    shutil.copyfile(args.assets / "zifferix.svg", parts / "zifferix.svg")
    icons(args.assets / "zifferix.svg", parts)
    fonts(parts)
    if args.link_names:
        links.write(parts, args.link_names)

    if out.exists():
        shutil.rmtree(out)
    shutil.copytree(parts, out)
    fingerprint(out)
    stamp(out, (args.page / "sw.js").read_text("utf-8"))


if __name__ == "__main__":
    main()
