"""The teacher's page of links, links.html: every game at every level as a link and as a QR code,
for printing on A4. The codes are drawn in the page for the address it was opened from, by
Debian's qrcode-generator, which the page carries inside itself: it asks for nothing outside
the site. The names come from the program (link_names), so the page names what the program reads.
"""

import html
import json
import pathlib
import shutil
import subprocess
import sys

ENCODER = pathlib.Path("/usr/share/nodejs/qrcode-generator/qrcode.js")

STYLE = """
:root { font-family: "Liberation Sans", Arial, sans-serif; color: #000; background: #fff; }
body { margin: 1.5rem auto; max-width: 60rem; padding: 0 1rem; }
@font-face { font-family: "Liberation Sans"; src: url("fonts/LiberationSans-Regular.woff2") format("woff2"); }
@font-face { font-family: "Liberation Sans"; font-weight: bold; src: url("fonts/LiberationSans-Bold.woff2") format("woff2"); }
h1 { font-size: 1.4rem; margin: 0 0 0.5rem; }
p { margin: 0.3rem 0; }
.warning { border: 2px solid #c00; padding: 0.4rem 0.6rem; }
.additions { border: 1px solid #888; margin: 0.6rem 0; padding: 0.3rem 0.8rem 0.5rem; }
.additions label { margin-right: 1.5rem; white-space: nowrap; }
.additions input { width: 1.1rem; height: 1.1rem; vertical-align: -0.15rem; }
.additions .class-field input { width: 100%; max-width: 36rem; height: auto; font: inherit; padding: 0.2rem; box-sizing: border-box; }
.additions .class-field label { display: block; margin: 0.4rem 0 0.2rem; }
.codes { display: grid; grid-template-columns: repeat(3, 1fr); gap: 1rem 1.5rem; margin-top: 1rem; }
figure { margin: 0; text-align: center; break-inside: avoid; page-break-inside: avoid; }
figure a { color: inherit; text-decoration: none; display: block; }
.code svg { width: 9rem; height: 9rem; display: block; margin: 0 auto; }
figcaption { line-height: 1.25; }
.game { font-weight: bold; display: block; }
.link { font-family: monospace; font-size: 0.8rem; display: block; }
@page { size: A4; margin: 10mm; }
/* One A4 page: a row of three levels for each game. */
@media print {
  body { margin: 0; max-width: none; padding: 0; font-size: 9pt; }
  header p, .warning, .additions { display: none; }
  h1 { font-size: 11pt; margin-bottom: 1mm; }
  .codes { gap: 1.5mm 6mm; margin-top: 0; }
  .code svg { width: 25mm; height: 25mm; }
  .game, .level { display: inline; }
  .level::before { content: " · "; }
  .link { font-size: 6.5pt; }
}
"""

# Draws each figure's code for the address this page was opened from: the folder of the site,
# with the link's name after "#", and what the switches add to every link (more time, more
# contrast, reading aloud), drawn anew when one is switched.
DRAW = """
(() => {
    "use strict";
    const site = new URL(".", location.href);
    document.getElementById("address").textContent = site.href;
    const local = ["localhost", "127.0.0.1", "[::1]"].includes(site.hostname);
    document.getElementById("local").hidden = !local;
    document.getElementById("file").hidden = site.protocol !== "file:";
    const switches = [...document.querySelectorAll(".additions input")];
    const pasted = document.getElementById("class-link");
    const wrong = document.getElementById("class-wrong");
    // The class of a pasted class's link, or of this page's own link (links.html#klasse=...).
    const classOf = (text) => (/(?:^|[#&])klasse=([a-z2-7]{12})(?:&|$)/.exec(text.trim()) || [])[1] || "";
    pasted.value = classOf(location.hash) ? new URL(`#klasse=${classOf(location.hash)}`, site).href : "";
    const draw = () => {
        const added = switches.filter((s) => s.checked).map((s) => `-${s.value}`).join("");
        const klasse = classOf(pasted.value);
        wrong.hidden = !pasted.value.trim() || Boolean(klasse);
        const inClass = klasse ? `klasse=${klasse}&` : "";
        document.getElementById("in-class").hidden = !klasse;
        for (const figure of document.querySelectorAll("figure[data-link]")) {
            const address = new URL(`#${inClass}${figure.dataset.link}${added}`, site).href;
            figure.querySelector("a").href = address;
            figure.querySelector(".link").textContent = address;
            const code = qrcode(0, "M");
            code.addData(address);
            code.make();
            figure.querySelector(".code").innerHTML = code.createSvgTag({ cellSize: 4, margin: 4, scalable: true });
        }
    };
    switches.forEach((s) => s.addEventListener("change", draw));
    pasted.addEventListener("input", draw);
    draw();
    document.documentElement.dataset.ready = "true";
})();
"""


def names(program):
    """The games and levels with their names and captions, as the program prints them."""
    node = shutil.which("node") or sys.exit("links.py: Node.js is needed to read the names")
    return json.loads(subprocess.run([node, str(program)], check=True, capture_output=True, text=True).stdout)


def figure(game, level):
    link = f"{game['name']}-{level['name']}"
    return (f'<figure data-link="{html.escape(link)}"><a href="./#{html.escape(link)}"><div class="code"></div>'
            f'<figcaption><span class="game">{html.escape(game["caption"])}</span>'
            f'<span class="level">{html.escape(level["caption"])}</span>'
            f'<span class="link">#{html.escape(link)}</span></figcaption></a></figure>')


def page(table, encoder):
    figures = "\n".join(figure(game, level) for game in table["games"] for level in table["levels"])
    switches = "\n".join(f'<label><input type="checkbox" value="{html.escape(a["name"])}"> '
                         f'{html.escape(a["caption"])}</label>' for a in table["additions"])
    return f"""<!DOCTYPE html>
<html lang="de">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Zifferix – Links und QR-Codes für die Klasse</title>
<link rel="icon" href="zifferix.svg" type="image/svg+xml">
<style>{STYLE}</style>
</head>
<body>
<header>
<h1>Zifferix – Links und QR-Codes für die Klasse</h1>
<p>Jeder Link und jeder Code öffnet Zifferix mit dem Spiel und der Schwierigkeit schon gewählt.
Die Kinder drücken nur noch „Los und hopp“.</p>
<p>Braucht ein Kind mehr Zeit oder mehr Kontrast, oder soll Zifferix ihm jede Aufgabe vorlesen, dann
hängen Sie an seinen Link <code>-mehrzeit</code>, <code>-kontrast</code> oder <code>-vorlesen</code>
an, etwa <code>#uhr-leicht-vorlesen</code>, oder schalten Sie es hier für alle Links und Codes ein.
Vorlesen gibt auch mehr Zeit, außer mit <code>-normalzeit</code>. Wie jedes Kind Zifferix spielen
kann, sagt die <a href="barrierefreiheit.html">Erklärung zur Barrierefreiheit</a>.</p>
<fieldset class="additions"><legend>Für alle Links und Codes</legend>
{switches}
<p class="class-field"><label for="class-link">Link einer Klasse:</label>
<input type="url" id="class-link" autocomplete="off" spellcheck="false" placeholder="…/index.html#klasse=…" aria-describedby="class-why class-wrong"></p>
<p id="class-why">Mit dem Link einer Klasse kommen die Ergebnisse der Kinder auf die Tafel der Klasse.
Eine Klasse öffnen Sie auf der <a href="lehrer.html">Seite für Lehrerinnen und Lehrer</a>.</p>
<p class="warning" id="class-wrong" role="alert" hidden>Das ist kein Link einer Klasse. Er endet auf <code>#klasse=</code> und zwölf Zeichen.</p>
</fieldset>
<p>Die Codes gelten für <strong id="address"></strong><span id="in-class" hidden>, mit der Klasse: Jedes Kind
sagt zuerst seinen Namen, und jedes Spiel kommt auf die Tafel der Klasse</span></p>
<p class="warning" id="local" hidden>Diese Adresse gilt nur auf diesem Rechner. Öffnen Sie diese Seite
unter der Adresse, die auch die Tablets öffnen, etwa der, die <code>./web.sh serve --lan</code> nennt.</p>
<p class="warning" id="file" hidden>Diese Seite ist als Datei geöffnet. Die Codes brauchen die Adresse
des Servers: Öffnen Sie diese Seite dort, wo Zifferix für die Klasse liegt.</p>
</header>
<main class="codes">
{figures}
</main>
<script>
{encoder}
</script>
<script>{DRAW}</script>
</body>
</html>
"""


def write(out, program):
    """Writes links.html into the site folder OUT."""
    (out / "links.html").write_text(page(names(program), ENCODER.read_text("utf-8")), "utf-8")
