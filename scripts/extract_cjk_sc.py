#!/usr/bin/env python3
"""Extracts the Simplified Chinese face of Debian's Noto Sans CJK collection
into a single OpenType file, so the editor can carry it as a resource."""
import sys
from fontTools.ttLib import TTCollection

src, dst = sys.argv[1], sys.argv[2]
collection = TTCollection(src, lazy=True)
for font in collection.fonts:
    if font['name'].getDebugName(1) == 'Noto Sans CJK SC':
        font.save(dst)
        break
else:
    sys.exit('no "Noto Sans CJK SC" face in ' + src)
