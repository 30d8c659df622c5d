#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Picks the sentences the typing stress test types, from the corpora that scripts/corpora renders.

    python3 scripts/lib/stress_sentences.py build/corpora > tests/desktop/data/stress_sentences.txt

A sentence is kept when it has 4 to 12 words that are all letters of its corpus's script (a word may
end in a comma, or the sentence in a full stop, which are dropped), and starts at the beginning of a
line of prose. The choice is fixed: every n-th such sentence, so the same corpora give the same file.
Each line is "en" or "ru", a tab, and the sentence in lower case apart from its first letter.
"""
import re
import sys

PER_LANGUAGE = 130
LETTERS = {"en": re.compile(r"^[A-Za-z]+$"), "ru": re.compile(r"^[А-Яа-яЁё]+$")}


def paragraphs(path):
    block = []
    with open(path, encoding="utf-8") as corpus:
        for line in corpus:
            text = line.strip()
            if not text:
                if block:
                    yield " ".join(block)
                block = []
            else:
                block.append(text)
    if block:
        yield " ".join(block)


def sentences(path, language):
    letters = LETTERS[language]
    for paragraph in paragraphs(path):
        for sentence in re.split(r"(?<=\.)\s+", paragraph):
            words = [word.rstrip(",").rstrip(".") for word in sentence.split()]
            if not 4 <= len(words) <= 12 or not all(letters.match(word) for word in words):
                continue
            words = [words[0][0].upper() + words[0][1:].lower()] + [word.lower() for word in words[1:]]
            yield " ".join(words)


def main():
    folder = sys.argv[1]
    for language in ("en", "ru"):
        found = list(dict.fromkeys(sentences(f"{folder}/{language}.txt", language)))
        step = max(1, len(found) // PER_LANGUAGE)
        for sentence in found[::step][:PER_LANGUAGE]:
            print(f"{language}\t{sentence}")


main()
