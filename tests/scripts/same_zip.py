#!/usr/bin/env python3
# Usage: same_zip.py A.zip B.zip. Exits 0 when the two zips are the same byte
# for byte; otherwise names the first entry that differs, and in what (name,
# hence order; time; attributes; extra fields, which hold times and owners;
# content), and exits 1.
import sys
import zipfile


def entries(path):
    with zipfile.ZipFile(path) as z:
        return [{"name": i.filename, "time": i.date_time, "attributes": oct(i.external_attr >> 16),
                 "extra fields": i.extra, "content": z.read(i)} for i in z.infolist()]


a, b = sys.argv[1:3]
for n, (ours, theirs) in enumerate(zip(entries(a), entries(b)), 1):
    what = next((w for w in ours if ours[w] != theirs[w]), None)
    if what:
        shown = f": {ours[what]} / {theirs[what]}" if what in ("name", "time", "attributes") else ""
        sys.exit(f"{a} and {b} differ: entry {n}, {ours['name']}: not the same {what}{shown}")
with open(a, "rb") as fa, open(b, "rb") as fb:
    if fa.read() != fb.read():
        sys.exit(f"{a} and {b} differ, beyond their entries' names, times, attributes, extra fields and content")
