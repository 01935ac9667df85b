#!/usr/bin/env python3
"""Writes the WordNet-format sample the dictionary tests read: a handful of words in
the database's own layout (index.pos, data.pos, pos.exc), with our own glosses.

    python3 tests/dict/wordnet/make_sample.py   # rewrites the files beside it
"""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent
HEADER = [
    "  1 A small hand-written sample in the format of the WordNet 3.0 database,",
    "  2 for the tests of Wendlewick's reader. Its glosses are our own.",
]
POS = {"noun": "n", "verb": "v", "adj": "a", "adv": "r"}

# Synsets per part of speech: (key, words, pointers to other keys, gloss). The key
# names the synset in this script only.
SYNSETS = {
    "noun": [
        ("animal", ["animal"], [], "a living thing that can move about"),
        ("cat", ["cat", "true_cat"], [("@", "animal")],
         'a small furry animal kept as a pet or for catching mice; "the cat slept by the fire"'),
        ("cat2", ["cat"], [], "a man, in the slang of jazz players"),
        ("ten", ["ten", "X"], [], "the number that comes after nine"),
        ("axis", ["axis"], [], "a straight line about which a body turns"),
        ("ax", ["ax", "axe"], [], "a tool with a heavy blade on a handle, for chopping wood"),
        ("leaf", ["leaf"], [], "a flat green part of a plant that grows from its stem"),
        ("leave_n", ["leave"], [], "time away from work or duty"),
        ("box", ["box"], [], "a container with a flat base and sides"),
        ("boxful", ["boxful"], [], "the amount a box holds"),
        ("church", ["church"], [], "a building for public worship"),
        ("man", ["man"], [("@", "animal")], "an adult male person"),
        ("city", ["city"], [], "a large and busy town"),
        ("glass", ["glass"], [], "a hard clear material made from sand"),
        ("run_n", ["run"], [], "a quick pace, faster than walking"),
        ("sea", ["sea"], [], "the salt water that covers most of the earth"),
        ("tea", ["tea"], [], "a drink made by pouring hot water on dried leaves"),
    ],
    "verb": [
        ("run", ["run"], [("+", "run_n")], 'move fast on foot; "she ran to the door"'),
        ("run2", ["run", "operate"], [], "be in charge of"),
        ("bake", ["bake"], [], "cook by dry heat in an oven"),
        ("jump", ["jump", "leap"], [], "push oneself off the ground with the legs"),
        ("leave_v", ["leave", "go_away"], [], "go away from a place"),
    ],
    "adj": [
        ("big", ["big", "large"], [], "above average in size"),
        ("good", ["good"], [], "having the right qualities"),
        ("nice", ["nice"], [], "pleasant or agreeable"),
        ("tall", ["tall"], [], "of more than average height"),
    ],
    "adv": [
        ("well", ["well"], [], "in a good or proper way"),
    ],
}

# Index entries: lemma -> (synset keys in sense order, tagged sense count).
INDEX = {
    "noun": {
        "animal": (["animal"], 1), "cat": (["cat", "cat2"], 1), "ten": (["ten"], 1),
        "x": (["ten"], 0), "axis": (["axis"], 1), "ax": (["ax"], 1), "axe": (["ax"], 0),
        "leaf": (["leaf"], 1), "leave": (["leave_n"], 1), "box": (["box"], 1),
        "boxful": (["boxful"], 0), "church": (["church"], 1), "man": (["man"], 1),
        "city": (["city"], 1), "glass": (["glass"], 1), "run": (["run_n"], 7),
        "sea": (["sea"], 1), "tea": (["tea"], 1), "true_cat": (["cat"], 0),
    },
    "verb": {
        "run": (["run", "run2"], 29), "operate": (["run2"], 1), "bake": (["bake"], 1),
        "jump": (["jump"], 1), "leap": (["jump"], 1), "leave": (["leave_v"], 3),
        "go_away": (["leave_v"], 0),
    },
    "adj": {
        "big": (["big"], 5), "large": (["big"], 2), "good": (["good"], 9), "nice": (["nice"], 1),
        "tall": (["tall"], 1),
    },
    "adv": {"well": (["well"], 4)},
}

EXCEPTIONS = {
    "noun": ["axes ax axis", "leaves leaf leave", "men man"],
    "verb": ["left leave", "ran run", "running run"],
    "adj": ["better good", "bigger big", "biggest big"],
    "adv": ["best well", "better well"],
}


def data_line(pos, offset, number, words, pointers, gloss, offsets):
    fields = [f"{offset:08d}", f"{number:02d}", POS[pos], f"{len(words):02x}"]
    for w in words:
        fields += [w, "0"]
    fields.append(f"{len(pointers):03d}")
    for symbol, target in pointers:
        target_pos = next(p for p, synsets in SYNSETS.items() if any(s[0] == target for s in synsets))
        fields += [symbol, f"{offsets[target]:08d}", POS[target_pos], "0000"]
    if pos == "verb":
        fields += ["01", "+", "02", "00"]
    return " ".join(fields) + " | " + gloss + "  \n"


def layout(offsets):
    files = {}
    for pos, synsets in SYNSETS.items():
        text = "".join(line + "  \n" for line in HEADER)
        for number, (key, words, pointers, gloss) in enumerate(synsets):
            offsets[key] = len(text.encode("ascii"))
            text += data_line(pos, offsets[key], number, words, pointers, gloss, offsets)
        files[pos] = text
    return files


def main():
    offsets = {s[0]: 0 for synsets in SYNSETS.values() for s in synsets}
    layout(offsets)  # every field has a fixed width: the second pass keeps the offsets
    data = layout(offsets)
    for pos in POS:
        (HERE / f"data.{pos}").write_text(data[pos], encoding="ascii")
        lines = []
        for lemma in sorted(INDEX[pos]):
            keys, tagged = INDEX[pos][lemma]
            symbols = sorted({sym for s in SYNSETS[pos] if s[0] in keys for sym, _ in s[2]})
            fields = [lemma, POS[pos], str(len(keys)), str(len(symbols)), *symbols, str(len(keys)), str(tagged)]
            fields += [f"{offsets[k]:08d}" for k in keys]
            lines.append(" ".join(fields) + "  \n")
        header = "".join(line + "  \n" for line in HEADER)
        (HERE / f"index.{pos}").write_text(header + "".join(lines), encoding="ascii")
        (HERE / f"{pos}.exc").write_text("".join(e + "\n" for e in sorted(EXCEPTIONS[pos])),
                                          encoding="ascii")


if __name__ == "__main__":
    main()
