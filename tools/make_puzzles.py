#!/usr/bin/env python3
"""Builds the bundled puzzle collection data/Lumera8.dat.

The collection is made from two committed source lists in tools/:
  quotes_source.txt  hand-picked public-domain quotations and proverbs
  bierce_source.txt  definitions chosen from Ambrose Bierce's
                     "The Devil's Dictionary" (1911, public domain)

Every line is normalised (ASCII punctuation, single blanks, upper case),
checked against the rules of the puzzle file (at most 250 characters, no
"*", an author after " - ", fits the 30-column grid without an overflow),
de-duplicated and put in a fixed pseudo-random order in which neighbouring
puzzles come from different authors. The output is byte-for-byte the same
on every run.

Usage:
  make_puzzles.py                  write data/Lumera8.dat
  make_puzzles.py --check          fail if data/Lumera8.dat is not up to date
  make_puzzles.py --import-bierce [DICT.dz [INDEX]]
                                   refresh bierce_source.txt from the dictd
                                   files of the Debian package dict-devil

Python 3 standard library only.
"""

import argparse
import gzip
import re
import sys
import unicodedata
from pathlib import Path

TOOLS_DIR = Path(__file__).resolve().parent
ROOT_DIR = TOOLS_DIR.parent
QUOTES_SOURCE = TOOLS_DIR / "quotes_source.txt"
BIERCE_SOURCE = TOOLS_DIR / "bierce_source.txt"
OUTPUT = ROOT_DIR / "data" / "Lumera8.dat"

DEVIL_DICT = Path("/usr/share/dictd/devil.dict.dz")
DEVIL_INDEX = Path("/usr/share/dictd/devil.index")

# The puzzle grid: 9 rows of 30 cells; line-fitting never grows a text past
# 250 characters, so a longer text would be played unfitted.
GRID_COLUMNS = 30
FITTED_ROWS = 8
MAX_LINE = 250
MIN_LINE = 20
ATTRIBUTION = " - "
SHUFFLE_SEED = 0x4C554D45524138  # "LUMERA8"

BIERCE_AUTHOR = "Ambrose Bierce"
BIERCE_MAX_LINE = 105  # the short definitions make the best puzzles
BIERCE_MIN_LINE = 45

# Entries of the dictionary left out: slurs and mockery of peoples, faiths
# or women, gallows humour, and entries whose joke needs the verse or the
# context that follows them.
BIERCE_EXCLUDED = {
    "ABORIGINIES", "ADAMANT", "AFRICAN", "ALLAH", "ARRAYED", "ARSENIC", "ART",
    "ARTLESSNESS", "BEARD", "CAABA", "CANONICALS", "CARMELITE", "CLAIRVOYANT",
    "CONVENT", "CORONATION", "CORPORAL", "COURT FOOL", "CURIOSITY", "DELUGE",
    "DUCK-BILL", "END", "EPITAPH", "EUCHARIST", "EXTINCTION", "FEMALE",
    "FLESH", "FLOP", "GARTHER", "GRAPESHOT", "GUILLOTINE", "HARANGUE",
    "HARMONISTS", "HATCHET", "HEAD-MONEY", "HEATHEN", "HEBREW", "HELPMATE",
    "HERS", "HOMILETICS", "HOMOEOPATHY", "INDISCRETION", "ITCH",
    "JEWS-HARP", "JOSS-STICKS", "KORAN", "LAST", "LEONINE", "LIMB", "LODGER",
    "LYRE", "MALE", "MAMMALIA", "MAMMON", "MANICHEISM", "MEDICINE",
    "MINSTREL", "MONARCHICAL GOVERNMENT", "MONSIGNOR", "MOUSQUETAIRE",
    "MOUTH", "MULATTO", "MUSTANG", "NIHILIST", "NIRVANA", "NON-COMBATANT",
    "ORTHODOX", "PHOTOGRAPH", "PIETY", "POCKET", "PORTUGUESE",
    "PRESBYTERIAN", "PRUDE", "PUBLISH", "RAZOR", "REASON", "RECTOR",
    "REPARTEE", "REVELATION", "RITUALISM", "RUBBISH", "RUIN", "RUSSIAN",
    "SACERDOTALIST", "SAFETY-CLUTCH", "SAW", "SCARABEE", "SCRIPTURES",
    "SEINE", "SIREN", "STORY", "SYMBOLIC", "TORTOISE", "UGLINESS",
    "UNITARIAN", "UNIVERSALIST", "WASHINGTONIAN", "WEAKNESSES",
    "WHANGDEPOOTENAWAH", "WHITE", "WIDOW", "WORSHIP",
}

# Short entries that make dull or obscure puzzles.
BIERCE_WEAK = {
    "ACADEME", "ACTUALLY", "BENEDICTINES", "CRAYFISH", "CREMONA", "DEJEUNER",
    "GENTEEL", "HYPOCHONDRIASIS", "ICHOR", "INDIFFERENT", "INEXPEDIENT",
    "MINOR", "OLEAGINOUS", "PHOENIX", "PRE-EXISTENCE", "PRECIPITATE", "RANK",
    "RESIDENT", "RESTITUTOR", "RIMER", "RIOT", "TRUTHFUL", "UN-AMERICAN",
    "UXORIOUSNESS",
}

# Slips of the electronic transcription, put right after the 1911 edition.
BIERCE_CORRECTIONS = {
    "ABASEMENT": [("wealth of power", "wealth or power")],
    "ABSENT": [("vilifed", "vilified")],
    "BONDSMAN": [("entrusted to another", "entrusted by another")],
    "CLERGYMAN": [("method of better his", "method of bettering his")],
    "COMMENDATION": [("that resembles,", "that resemble,")],
    "CONSUL": [("secure and office", "secure an office")],
    "DISABUSE": [("The present your", "To present your")],
    "ENTERTAINMENT": [("death by injection", "death by dejection")],
    "FREEBOOTER": [("lack of the sanctifying", "lack the sanctifying")],
    "GRAMMAR": [("for the feet for the", "for the feet of the")],
    "HARBOR": [("from stores", "from storms")],
    "HYPOCRITE": [("profession virtues", "professing virtues")],
    "JUSTICE": [("which is a more or less", "which in a more or less")],
    "PEDESTRIAN": [("(an audible)", "(and audible)")],
    "PITIFUL": [("enemy of opponent", "enemy or opponent")],
    "VITUPERATION": [("Saite,", "Satire,")],
}

# Typographic characters that have a plain ASCII spelling.
ASCII_PUNCTUATION = {
    "\u2018": "'", "\u2019": "'", "\u201a": "'", "\u201b": "'", "\u2032": "'",
    "\u201c": '"', "\u201d": '"', "\u201e": '"', "\u201f": '"', "\u2033": '"',
    "\u00ab": '"', "\u00bb": '"',
    "\u2010": "-", "\u2011": "-", "\u2012": "-", "\u2013": "-", "\u2014": "-",
    "\u2015": "-", "\u2212": "-",
    "\u2026": "...", "\u00a0": " ", "\u2009": " ", "\u202f": " ",
    "\u00e6": "ae", "\u00c6": "AE", "\u0153": "oe", "\u0152": "OE",
    "\u00df": "ss",
}


class SourceError(Exception):
    """A source line that breaks the rules of the puzzle file."""


# ---------------------------------------------------------------- checking

def Normalise(text):
    """Plain ASCII, single blanks, upper case."""
    for typographic, plain in ASCII_PUNCTUATION.items():
        text = text.replace(typographic, plain)
    text = unicodedata.normalize("NFKD", text)
    text = "".join(ch for ch in text if not unicodedata.combining(ch))
    text = re.sub(r"\s+", " ", text).strip()
    return text.upper()


def FitToGrid(text, endCountsAsLetter):
    """Line-fitting as the game does it; returns (fitted text, overflow).

    endCountsAsLetter picks how a text that ends exactly at a row end is
    treated, since the game may do either; the collection must fit both.
    """
    cells = list(text)
    overflow = False
    for row in range(1, FITTED_ROWS + 1):
        start = GRID_COLUMNS * (row - 1)  # 0-based index of the row start
        if len(cells) > start:
            while cells[start] == " " and len(cells) > 1:
                del cells[start]
        end = GRID_COLUMNS * row  # 1-based position of the row end
        if len(cells) < end:
            continue
        if len(cells) == end:
            broken = endCountsAsLetter
        else:
            broken = cells[end] != " "
        if not broken:
            continue
        wordLength = 0
        while wordLength < end and cells[end - 1 - wordLength] != " ":
            wordLength += 1
        if wordLength == end:
            continue  # no blank to move the word at: the row stays as it is
        for _ in range(wordLength):
            if len(cells) >= MAX_LINE:
                overflow = True
            else:
                cells.insert(end - wordLength - 1, " ")
    return "".join(cells), overflow


def CheckLine(line):
    """Raise SourceError when a normalised line breaks a rule."""
    if not line:
        raise SourceError("empty")
    if len(line) > MAX_LINE:
        raise SourceError(f"{len(line)} characters, more than {MAX_LINE}")
    if len(line) < MIN_LINE:
        raise SourceError(f"only {len(line)} characters")
    if any(not (32 <= ord(ch) <= 126) for ch in line):
        raise SourceError("not printable ASCII")
    if "*" in line:
        raise SourceError('contains "*", the exchange mark of the game')
    if re.search(r"[a-z]", line):
        raise SourceError("lower-case letters are never scrambled")
    if "  " in line or line != line.strip():
        raise SourceError("blanks not single")
    quotation, sep, author = line.rpartition(ATTRIBUTION)
    if not sep or not quotation or not author:
        raise SourceError('no " - AUTHOR" at the end')
    if not re.fullmatch(r"[A-Z][A-Z .'-]*[A-Z.]", author):
        raise SourceError(f"odd author name {author!r}")
    if max(len(word) for word in line.split(" ")) > GRID_COLUMNS:
        raise SourceError("a word longer than a grid row")
    for endCountsAsLetter in (False, True):
        if FitToGrid(line, endCountsAsLetter)[1]:
            raise SourceError("too long to fit the grid without overflow")


# ----------------------------------------------------------------- sources

def ReadSource(path):
    """Source lines as (line number, text), without comments and blanks."""
    entries = []
    with open(path, encoding="utf-8") as source:
        for number, raw in enumerate(source, 1):
            text = raw.strip()
            if text and not text.startswith("#"):
                entries.append((number, text))
    return entries


def CollectPuzzles(paths):
    """All normalised, checked, distinct puzzle lines of the sources."""
    puzzles = []
    seenLines = {}
    seenQuotations = {}
    problems = []
    for path in paths:
        for number, text in ReadSource(path):
            where = f"{path.name}:{number}"
            line = Normalise(text)
            try:
                CheckLine(line)
            except SourceError as error:
                problems.append(f"{where}: {error}: {text}")
                continue
            # The same words under another author or other punctuation are
            # a duplicate too.
            quotation = line.rpartition(ATTRIBUTION)[0]
            key = re.sub(r"[^A-Z]", "", quotation)
            if line in seenLines or key in seenQuotations:
                first = seenLines.get(line) or seenQuotations[key]
                problems.append(f"{where}: duplicate of {first}: {text}")
                continue
            seenLines[line] = where
            seenQuotations[key] = where
            puzzles.append(line)
    if problems:
        raise SourceError("\n".join(problems))
    return puzzles


# ------------------------------------------------------------------- order

class SplitMix64:
    """Small fixed generator, so the order never depends on Python's."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def Next(self):
        self.state = (self.state + 0x9E3779B97F4A7C15) & 0xFFFFFFFFFFFFFFFF
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & 0xFFFFFFFFFFFFFFFF
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & 0xFFFFFFFFFFFFFFFF
        return z ^ (z >> 31)

    def Below(self, n):
        return self.Next() % n

    def Shuffle(self, items):
        for i in range(len(items) - 1, 0, -1):
            j = self.Below(i + 1)
            items[i], items[j] = items[j], items[i]


def AuthorGroup(line):
    """Puzzles that should not follow each other: same author, or proverbs."""
    author = line.rpartition(ATTRIBUTION)[2]
    return "PROVERB" if author.endswith("PROVERB") else author


def MixOrder(puzzles, seed=SHUFFLE_SEED):
    """A fixed random order in which no two neighbours share an author group,
    as far as the group sizes allow."""
    random = SplitMix64(seed)
    groups = {}
    for line in sorted(puzzles):
        groups.setdefault(AuthorGroup(line), []).append(line)
    for name in sorted(groups):
        random.Shuffle(groups[name])
    names = sorted(groups)
    order = []
    last = None
    remaining = len(puzzles)
    while remaining:
        counts = {name: len(groups[name]) for name in names if groups[name]}
        # A group holding more than half of what is left must go now, or it
        # will end up next to itself.
        forced = [name for name, count in counts.items()
                  if count > remaining - count and name != last]
        if forced:
            pick = forced[0]
        else:
            choices = [name for name in counts if name != last] or list(counts)
            total = sum(counts[name] for name in choices)
            ticket = random.Below(total)
            for pick in choices:
                ticket -= counts[pick]
                if ticket < 0:
                    break
        order.append(groups[pick].pop())
        last = pick
        remaining -= 1
    return order


def BuildCollection():
    puzzles = CollectPuzzles([QUOTES_SOURCE, BIERCE_SOURCE])
    return "".join(line + "\n" for line in MixOrder(puzzles)).encode("ascii")


# ------------------------------------------------------------------ Bierce

def DecodeDictNumber(text):
    """dictd index numbers are base 64 with this alphabet."""
    alphabet = ("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                "0123456789+/")
    value = 0
    for ch in text:
        value = value * 64 + alphabet.index(ch)
    return value


def DictEntries(dictPath, indexPath):
    """(headword, entry text) for every entry of a dictd dictionary."""
    data = gzip.open(dictPath).read()
    with open(indexPath, encoding="latin-1") as index:
        for row in index:
            headword, offset, length = row.rstrip("\n").split("\t")[:3]
            if headword.startswith("00database"):
                continue
            start = DecodeDictNumber(offset)
            end = start + DecodeDictNumber(length)
            yield headword, data[start:end].decode("latin-1")


def BierceDefinition(entry):
    """The opening prose paragraph of an entry as one line, or None when the
    entry has none that stands on its own."""
    lines = []
    for line in entry.split("\n"):
        if not line.strip() or line.startswith(" "):
            break  # end of the paragraph, or verse and quotations follow
        lines.append(line.strip())
    text = " ".join(lines)
    text = re.sub(r"(\w)- (\w)", r"\1-\2", text)  # words split at line ends
    text = re.sub(r"\s+", " ", text).strip()
    match = re.match(r"([A-Z][A-Z' -]*), ([a-z][a-z.]*(?: and [a-z.]+)?) ",
                     text)
    if not match:
        return None, None
    headword = match.group(1)
    # Italics, editorial brackets, cross-references, dashes and figures mark
    # entries that lean on what follows or read badly on the board.
    if re.search(r"_|\[|\bSee\b|--|\*|\d", text) or text.endswith(":"):
        return headword, None
    if not text.endswith((".", "!", "?", '"')):
        return headword, None
    return headword, text


def ImportBierce(dictPath, indexPath):
    chosen = []
    seen = set()
    for _, entry in DictEntries(dictPath, indexPath):
        headword, text = BierceDefinition(entry)
        if not text or headword in BIERCE_EXCLUDED | BIERCE_WEAK:
            continue
        for wrong, right in BIERCE_CORRECTIONS.get(headword, []):
            text = text.replace(wrong, right)
        line = f"{text}{ATTRIBUTION}{BIERCE_AUTHOR}"
        if not BIERCE_MIN_LINE <= len(line) <= BIERCE_MAX_LINE:
            continue
        if line in seen:
            continue
        seen.add(line)
        chosen.append(line)
    header = (
        "# Definitions from Ambrose Bierce, \"The Devil's Dictionary\" (1911),\n"
        "# a public-domain text. Written by tools/make_puzzles.py "
        "--import-bierce\n"
        "# from the dictd files of dict-devil; the selection rules and the\n"
        "# entries left out are in that tool.\n")
    BIERCE_SOURCE.write_text(header + "".join(f"{line}\n" for line in chosen),
                             encoding="utf-8")
    return len(chosen)


# -------------------------------------------------------------------- main

def Main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    mode = parser.add_mutually_exclusive_group()
    mode.add_argument("--check", action="store_true",
                      help="fail if the committed collection is stale")
    mode.add_argument("--import-bierce", nargs="*", metavar="FILE",
                      help="refresh bierce_source.txt (dict.dz and index)")
    args = parser.parse_args(argv)

    if args.import_bierce is not None:
        files = [Path(name) for name in args.import_bierce]
        dictPath = files[0] if files else DEVIL_DICT
        indexPath = files[1] if len(files) > 1 else DEVIL_INDEX
        count = ImportBierce(dictPath, indexPath)
        print(f"{BIERCE_SOURCE.relative_to(ROOT_DIR)}: {count} definitions")
        return 0

    try:
        collection = BuildCollection()
    except SourceError as error:
        print(f"make_puzzles: source lines rejected:\n{error}", file=sys.stderr)
        return 1
    count = collection.count(b"\n")
    if args.check:
        current = OUTPUT.read_bytes() if OUTPUT.exists() else b""
        if current != collection:
            print(f"make_puzzles: {OUTPUT.relative_to(ROOT_DIR)} is out of "
                  "date; run tools/make_puzzles.py", file=sys.stderr)
            return 1
        print(f"{OUTPUT.relative_to(ROOT_DIR)}: up to date, {count} puzzles")
        return 0
    OUTPUT.parent.mkdir(parents=True, exist_ok=True)
    OUTPUT.write_bytes(collection)
    print(f"{OUTPUT.relative_to(ROOT_DIR)}: {count} puzzles")
    return 0


if __name__ == "__main__":
    sys.exit(Main(sys.argv[1:]))
