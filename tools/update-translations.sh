#!/usr/bin/env bash
# Refreshes the English translation from the sources: lupdate collects every
# tr() text, then each English translation is set to its source text, so the
# compiled .qm carries every text of the program.
set -euo pipefail
cd "$(dirname "$0")/.."
ts=resources/languages/qlvZENTU_en.ts
lupdate -silent -locations none -no-obsolete -I . app manual remote valve script settings forms -ts "$ts"
/usr/bin/python3 - "$ts" <<'PY'
import sys, xml.etree.ElementTree as ET
path = sys.argv[1]
tree = ET.parse(path)
for msg in tree.iter('message'):
    src = msg.find('source')
    tr = msg.find('translation')
    if tr is None:
        tr = ET.SubElement(msg, 'translation')
    if msg.get('numerus') == 'yes':
        continue
    tr.attrib.pop('type', None)
    tr.text = src.text
with open(path, 'wb') as f:
    f.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
    tree.write(f, encoding='utf-8', xml_declaration=False)
    f.write(b'\n')
PY
