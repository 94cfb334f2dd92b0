#!/usr/bin/env python3
"""Makes Yakdrom-SN.ttf, the candidate font the program carries, from Noto Serif Tibetan.

Usage: python3 resources/fonts/make-font.py [SOURCE] OUTPUT

SOURCE defaults to Noto Serif Tibetan Regular as Debian's fonts-noto-core installs it.
Only the names change: the outlines, metrics and layout tables are the source's own. The
same source always gives a byte-identical file, so the committed font can be checked
against a fresh run.

Needs fontTools (Debian: apt-get install python3-fonttools fonts-noto-core).
"""

import argparse
import sys

try:
    from fontTools.ttLib import TTFont
except ImportError:
    sys.exit("make-font.py needs fontTools: apt-get install python3-fonttools")

DEFAULT_SOURCE = "/usr/share/fonts/truetype/noto/NotoSerifTibetan-Regular.ttf"

FAMILY = "Yakdrom-SN"
SUBFAMILY = "Regular"
FULL_NAME = "Yakdrom-SN Regular"
POSTSCRIPT_NAME = "Yakdrom-SN-R"
VENDOR_TAG = "YKDR"

# Name IDs rewritten. The copyright (0), licence (13) and licence URL (14) records are
# left as they are: the OFL requires them to travel with every modified version.
UNIQUE_ID = 3
VERSION = 5
DESCRIPTION = 10
TYPOGRAPHIC_FAMILY = 16
TYPOGRAPHIC_SUBFAMILY = 17
NAMES = {1: FAMILY, 2: SUBFAMILY, 4: FULL_NAME, 6: POSTSCRIPT_NAME}

# Names the CFF top dictionary carries, for a source with PostScript outlines.
CFF_NAMES = {"FamilyName": FAMILY, "FullName": FULL_NAME, "Weight": SUBFAMILY}


def source_version(font):
    """Returns the source's version number, e.g. "2.001", from its head table."""
    return f"{font['head'].fontRevision:.3f}"


def rename_name_table(font):
    """Replaces every record of the renamed IDs, on every platform and language."""
    name_table = font["name"]
    version = source_version(font)
    rewritten = dict(NAMES)
    rewritten[UNIQUE_ID] = f"{version};{VENDOR_TAG};{POSTSCRIPT_NAME}"
    rewritten[VERSION] = f"Version {version}; renamed from Noto Serif Tibetan Regular"
    rewritten[DESCRIPTION] = (
        f"Noto Serif Tibetan Regular {version} renamed to {FAMILY} for the Yakdrom input "
        "method, under the SIL Open Font License 1.1; the glyphs are unchanged."
    )
    present = {record.nameID for record in name_table.names}
    if TYPOGRAPHIC_FAMILY in present:
        rewritten[TYPOGRAPHIC_FAMILY] = FAMILY
    if TYPOGRAPHIC_SUBFAMILY in present:
        rewritten[TYPOGRAPHIC_SUBFAMILY] = SUBFAMILY
    platforms = {(r.platformID, r.platEncID, r.langID) for r in name_table.names}
    for name_id, value in rewritten.items():
        name_table.removeNames(nameID=name_id)
        for platform_id, encoding_id, language_id in sorted(platforms):
            name_table.setName(value, name_id, platform_id, encoding_id, language_id)


# A TrueType font's post table holds glyph names only; the PostScript name of a font with
# CFF outlines lives in its CFF table, which is renamed here.
def rename_cff(font):
    """Renames the PostScript outlines' font dictionary, if the source has one."""
    if "CFF " not in font:
        return
    cff = font["CFF "].cff
    cff.fontNames = [POSTSCRIPT_NAME]
    top = cff.topDictIndex[0]
    for key, value in CFF_NAMES.items():
        if hasattr(top, key):
            setattr(top, key, value)


def make_font(source, output):
    """Writes the renamed copy of `source` to `output`."""
    # Keeping the source's head.modified, rather than the time of the run, is what makes
    # the output depend on the source alone.
    font = TTFont(source, recalcTimestamp=False)
    rename_name_table(font)
    rename_cff(font)
    # The vendor tag says who made this file, and fontconfig reports it as the foundry.
    font["OS/2"].achVendID = VENDOR_TAG
    # The source's signature covers the names just changed, so it would no longer verify.
    if "DSIG" in font:
        del font["DSIG"]
    font.save(output)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source", nargs="?", default=DEFAULT_SOURCE)
    parser.add_argument("output")
    args = parser.parse_args()
    make_font(args.source, args.output)


if __name__ == "__main__":
    main()
