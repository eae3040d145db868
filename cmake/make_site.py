#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes the web app's folder from the game's page, as any static host serves it, at any path:

    index.html            the page, still one self-contained file that plays opened from disk,
                          sealed with a policy that lets it load nothing from anywhere else
    manifest.webmanifest  what a phone installs it as: its name, icons and full screen, sideways
    icon-*.png            the home screen's icons (packaging/icons/web)
    sw.js                 the service worker, which keeps every other file for playing offline

    make_site.py PAGE ICONS WORKER FOLDER
PAGE is the page the build wrote (or an index.html made before: sealing it again gives the same
page), ICONS the folder of the icon renditions, WORKER the service worker's source.
"""

import base64
import hashlib
import json
import os
import re
import sys

ICONS = {"icon-192.png": "tarnwick-192.png", "icon-512.png": "tarnwick-512.png",
         "icon-maskable-512.png": "tarnwick-maskable-512.png"}

# What a phone installs it as; its name is the page's title.
MANIFEST = {
    "short_name": "Tarnwick",
    "description": "A small real-time 3D steering game: drive a flat board around a walled arena of obstacles.",
    "start_url": "./",
    "scope": "./",
    "display": "fullscreen",
    "orientation": "landscape",
    "background_color": "#16161a",
    "theme_color": "#16161a",
    "categories": ["games"],
    "icons": [
        {"src": "icon-192.png", "sizes": "192x192", "type": "image/png"},
        {"src": "icon-512.png", "sizes": "512x512", "type": "image/png"},
        {"src": "icon-maskable-512.png", "sizes": "512x512", "type": "image/png", "purpose": "maskable"},
    ],
}

POLICY = re.compile(r'(<meta http-equiv="Content-Security-Policy" content=")[^"]*(">)')


def source_hash(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode()).digest()).decode() + "'"


def sealed(page):
    """The page with a policy that allows its own inline scripts and style, by their hashes, and
    WebAssembly compiled from them; images from the page's folder and data: URIs (its icon); the
    manifest and the worker from its folder; and nothing else: no host, no scheme, no eval."""
    scripts = re.findall(r"<script>(.*?)</script>", page, re.DOTALL)
    styles = re.findall(r"<style>(.*?)</style>", page, re.DOTALL)
    if not scripts or not styles or not POLICY.search(page):
        sys.exit("make_site: the page has no script, no style or no policy to fill in")
    policy = "; ".join([
        "default-src 'none'",
        "script-src " + " ".join(map(source_hash, scripts)) + " 'wasm-unsafe-eval'",
        "style-src " + " ".join(map(source_hash, styles)),
        "img-src 'self' data:",
        "manifest-src 'self'",
        "worker-src 'self'",
        "base-uri 'none'",
        "form-action 'none'",
    ])
    return POLICY.sub(lambda match: match.group(1) + policy + match.group(2), page, count=1)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    page_path, icons, worker_path, folder = sys.argv[1:]
    with open(page_path, encoding="utf-8") as page:
        page = sealed(page.read())
    os.makedirs(folder, exist_ok=True)
    manifest = {"name": re.search(r"<title>(.*?)</title>", page).group(1), **MANIFEST}
    files = {"index.html": page.encode(), "manifest.webmanifest": (json.dumps(manifest, indent=2) + "\n").encode()}
    for name, rendition in ICONS.items():
        with open(os.path.join(icons, rendition), "rb") as icon:
            files[name] = icon.read()
    sums = {name: hashlib.sha256(data).hexdigest() for name, data in sorted(files.items())}
    version = hashlib.sha256(json.dumps(sums).encode()).hexdigest()[:16]
    with open(worker_path, encoding="utf-8") as worker:
        worker = worker.read()
    if "FILES_AND_SUMS" not in worker or " VERSION`" not in worker:
        sys.exit("make_site: the worker has no place for its files or its version")
    files["sw.js"] = worker.replace("FILES_AND_SUMS", json.dumps(sums)).replace(" VERSION`", f" {version}`").encode()
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
    print(f"{folder}: version {version}, " + ", ".join(f"{name} {len(data)} bytes" for name, data in files.items()))


if __name__ == "__main__":
    main()
