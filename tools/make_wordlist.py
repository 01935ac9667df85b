#!/usr/bin/env python3
"""Builds the word-list record block assets/wordlist/English.rec from SCOWL.

Source: SCOWL (Spell Checker Oriented Word Lists) by Kevin Atkinson, as the
Debian package `scowl` installs it under /usr/share/dict/scowl
(`apt-get install scowl`). Licence: the SCOWL copyright notice, a permissive
licence that allows copying and distribution of the lists and of output made
from them, provided the notice is kept; the script copies the package's
copyright file beside its output as LICENSE-SCOWL.

Filter:
  * every "words" list (no proper names, no abbreviations, no contractions,
    no upper-case words) of the English spellings english, american, british,
    british_z, canadian and australian, and their variant_1 lists, up to
    size 70 ("large");
  * plus the size-80 ("huge") words of the same lists that are a regular
    inflection or a common prefixed form of a word already taken (cats, walked,
    quickest, redo, untie ...), so the inflections a player expects are there
    while the obscure size-80 stems stay out;
  * only words made of the letters a-z, at least two letters long (this drops
    apostrophes, digits, hyphens and accented letters).

Output: one 15-byte record per word: the byte 0x1E, then the word in upper
case, left-aligned and padded with blanks to 14 bytes. Words longer than 14
letters are cut to 14, and the duplicate records this makes are kept. Records
are sorted by unsigned bytes. The block holds no NUL byte.

Usage: tools/make_wordlist.py [SCOWL_DIR] [OUTPUT_DIR]
"""
import os
import re
import shutil
import sys

SIZES = [10, 20, 35, 40, 50, 55, 60, 70, 80]
SPELLINGS = ["english", "american", "british", "british_z", "canadian", "australian",
             "variant_1", "british_variant_1", "canadian_variant_1", "australian_variant_1"]
SUFFIXES = ["s", "es", "ed", "d", "ing", "ings", "er", "ers", "est", "ly", "ness",
            "nesses", "ies", "ied", "ier", "iest", "ily"]
PREFIXES = ["un", "re", "non", "over", "out", "mis", "pre"]
WORD = re.compile(r"[a-z]{2,}")


def load(scowl_dir, low, high):
    """Words of the chosen lists with low < size <= high."""
    words = set()
    for spelling in SPELLINGS:
        for size in SIZES:
            if not low < size <= high:
                continue
            path = os.path.join(scowl_dir, f"{spelling}-words.{size}")
            if not os.path.exists(path):
                continue
            with open(path, encoding="latin-1") as f:
                for line in f:
                    w = line.strip()
                    if WORD.fullmatch(w):
                        words.add(w)
    return words


def is_inflection(word, base):
    for suffix in SUFFIXES:
        if word.endswith(suffix) and len(word) - len(suffix) >= 2:
            stem = word[: -len(suffix)]
            candidates = [stem, stem + "e"]
            if suffix.startswith("i"):
                candidates.append(stem + "y")
            if len(stem) >= 3 and stem[-1] == stem[-2]:
                candidates.append(stem[:-1])  # doubled consonant: hopped, biggest
            if any(c in base for c in candidates):
                return True
    return any(word.startswith(p) and word[len(p):] in base for p in PREFIXES)


def main():
    scowl_dir = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/dict/scowl"
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "assets", "wordlist")

    base = load(scowl_dir, 0, 70)
    extra = {w for w in load(scowl_dir, 70, 80) - base if is_inflection(w, base)}
    words = base | extra

    records = sorted(b"\x1e" + w.upper()[:14].ljust(14).encode("ascii") for w in words)
    block = b"".join(records)
    assert len(block) == 15 * len(records) and b"\x00" not in block

    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "English.rec"), "wb") as f:
        f.write(block)
    duplicates = sum(1 for a, b in zip(records, records[1:]) if a == b)
    with open(os.path.join(out_dir, "COUNT"), "w") as f:
        f.write(f"records {len(records)}\nbytes {len(block)}\n"
                f"words {len(words)} (size 70: {len(base)}, size-80 inflections: {len(extra)})\n"
                f"records equal to the one before {duplicates}\n")
    copyright_file = "/usr/share/doc/scowl/copyright"
    if os.path.exists(copyright_file):
        shutil.copyfile(copyright_file, os.path.join(out_dir, "LICENSE-SCOWL"))
    print(f"{len(records)} records written to {out_dir}")


if __name__ == "__main__":
    main()
