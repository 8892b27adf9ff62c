#!/usr/bin/env python3
"""Composes the sample edition's sources from the sentence bank.

Writes resources/book/lessons/NNN.txt (267 lessons) and resources/book/index.txt.
Deterministic: every lesson draws from its own seeded generator, so the same bank
always gives the same files. No network, standard library only.

    tools/book/make_sample.py [--bank FILE] [--out DIR]
"""

import argparse
import pathlib
import random
import unicodedata

LESSON_COUNT = 267
YEAR_TITLE = "ה'תשס\"ה"

# The months of 5765 in the order of the year: key, name in titles, days.
# 5765 is a leap year of 383 days: Heshvan and Kislev both have 29 days.
MONTHS = [
    ("tishri", "תשרי", 30), ("heshvan", "חשון", 29), ("kislev", "כסלו", 29),
    ("tevet", "טבת", 29), ("shevat", "שבט", 30), ("adar1", "אדר א'", 30),
    ("adar2", "אדר ב'", 29), ("nisan", "ניסן", 30), ("iyar", "אייר", 29),
    ("sivan", "סיון", 30), ("tammuz", "תמוז", 29), ("av", "אב", 30),
    ("elul", "אלול", 29),
]
# Section titles, where the month's name alone would be too short.
SECTION_NAMES = {"av": "מנחם אב"}

# The lesson of each day, month by month in the order above (days 1 to 30).
LESSON_CALENDAR = {
    "tishri": [1, 1, 1, 1, 2, 3, 4, 5, 6, 7, 7, 8, 9, 10, 11, 11, 11, 11, 12, 13, 14, 14, 14, 14, 14, 15, 16, 17, 18, 19],
    "heshvan": [19, 19, 20, 21, 22, 23, 24, 24, 24, 25, 26, 27, 28, 29, 29, 29, 30, 31, 32, 33, 34, 34, 34, 35, 36, 37, 38, 39, 39, 39],
    "kislev": [39, 40, 41, 42, 43, 44, 44, 44, 45, 46, 47, 48, 49, 49, 49, 50, 51, 52, 53, 54, 54, 54, 55, 56, 57, 58, 59, 59, 59, 60],
    "tevet": [60, 61, 62, 63, 64, 64, 64, 65, 66, 67, 68, 69, 69, 69, 70, 71, 72, 73, 74, 74, 74, 75, 76, 77, 78, 79, 79, 79, 80, 81],
    "shevat": [81, 82, 83, 84, 84, 84, 85, 86, 87, 88, 89, 89, 89, 90, 91, 92, 93, 94, 94, 94, 95, 96, 97, 98, 99, 99, 99, 100, 101, 102],
    "adar1": [103, 104, 104, 104, 105, 106, 107, 108, 109, 109, 109, 110, 111, 112, 113, 114, 114, 114, 115, 116, 117, 118, 119, 119, 119, 120, 121, 122, 123, 124],
    "adar2": [124, 124, 125, 126, 127, 128, 129, 129, 129, 130, 131, 132, 133, 134, 134, 134, 135, 136, 137, 138, 139, 139, 139, 140, 141, 142, 143, 144, 144, 144],
    "nisan": [144, 145, 146, 147, 148, 149, 149, 149, 150, 151, 152, 153, 154, 155, 155, 155, 155, 156, 157, 158, 159, 159, 159, 160, 161, 162, 163, 163, 163, 164],
    "iyar": [165, 166, 167, 168, 168, 168, 169, 170, 171, 172, 173, 173, 173, 174, 175, 176, 177, 178, 178, 178, 179, 180, 181, 182, 183, 183, 183, 184, 185, 186],
    "sivan": [186, 187, 188, 188, 188, 189, 189, 189, 190, 191, 191, 191, 192, 193, 194, 195, 196, 196, 196, 197, 198, 199, 200, 201, 201, 201, 202, 203, 204, 205],
    "tammuz": [206, 206, 206, 207, 208, 209, 210, 211, 211, 211, 212, 213, 214, 215, 216, 216, 216, 217, 218, 219, 220, 221, 221, 221, 222, 223, 224, 225, 226, 226],
    "av": [226, 226, 227, 228, 229, 230, 232, 232, 232, 232, 233, 234, 235, 231, 231, 236, 237, 238, 239, 240, 241, 241, 241, 242, 243, 244, 245, 246, 246, 246],
    "elul": [247, 248, 249, 250, 251, 251, 251, 252, 253, 254, 255, 256, 256, 256, 257, 258, 259, 260, 261, 261, 261, 262, 263, 264, 265, 266, 266, 266, 267, 1],
}

THEMES = ["days", "seasons", "learning", "kindness", "work", "rest", "family", "calendar"]
THEME_TITLES = {
    "days": "עַל הַיָּמִים וְהַזְּמַן",
    "seasons": "עַל עוֹנוֹת הַשָּׁנָה",
    "learning": "עַל הַלִּמּוּד",
    "kindness": "עַל הַחֶסֶד",
    "work": "עַל הָעֲבוֹדָה",
    "rest": "עַל הַמְּנוּחָה",
    "family": "עַל הַמִּשְׁפָּחָה",
    "calendar": "עַל הַלּוּחַ וְהַמּוֹעֲדִים",
}
PART_TITLES = ["חֵלֶק שֵׁנִי", "חֵלֶק שְׁלִישִׁי"]

LONG_PARAGRAPH_LESSON = 100      # one paragraph close to the longest text allowed
SHORT_RULE_LESSON = 37           # the one rule of width 172
LEFT_TO_RIGHT_LESSONS = (50, 150, 250)
MAX_TEXT = 2308
MAX_WORD = 19

HOLAM, QAMATS, SHEVA, DAGESH = "\u05B9", "\u05B8", "\u05B0", "\u05BC"
VOWELS = set("\u05B0\u05B1\u05B2\u05B3\u05B4\u05B5\u05B6\u05B7\u05B8\u05B9\u05BB")


def hebrew_number(n):
    """Hebrew numeral with geresh or gershayim: 1 -> א', 15 -> ט"ו, 144 -> קמ"ד."""
    letters = ""
    for value, letter in ((400, "ת"), (300, "ש"), (200, "ר"), (100, "ק")):
        while n >= value:
            letters += letter
            n -= value
    if n in (15, 16):
        letters += "ט" + ("ו" if n == 15 else "ז")
        n = 0
    tens = "יכלמנסעפצ"
    units = "אבגדהוזחט"
    if n >= 10:
        letters += tens[n // 10 - 1]
        n %= 10
    if n:
        letters += units[n - 1]
    if len(letters) == 1:
        return letters + "'"
    return letters[:-1] + '"' + letters[-1]


def lesson_days():
    """For every lesson, the (month index, day) pairs it falls on in 5765, in order."""
    days = {n: [] for n in range(1, LESSON_COUNT + 1)}
    for index, (key, _, length) in enumerate(MONTHS):
        for day in range(1, length + 1):
            days[LESSON_CALENDAR[key][day - 1]].append((index, day))
    for n, found in days.items():
        assert found, f"lesson {n} falls on no day"
    return days


def date_title(dates):
    """The lesson's dates as a short title, e.g. א'-ד' בתשרי or ל' תשרי-ב' חשון."""
    (m1, d1), (m2, d2) = dates[0], dates[-1]
    name1, name2 = MONTHS[m1][1], MONTHS[m2][1]
    if m1 == m2:
        span = hebrew_number(d1) if d1 == d2 else f"{hebrew_number(d1)}-{hebrew_number(d2)}"
        return f"{span} ב{name1}"
    title = f"{hebrew_number(d1)} {name1}-{hebrew_number(d2)} {name2}"
    if len(title) > 18:  # 30 Adar I: only Adar I has a 30th day, so "Adar" is enough
        title = f"{hebrew_number(d1)} {name1.split()[0]}-{hebrew_number(d2)} {name2}"
    return title


def read_bank(path):
    groups = {}
    current = None
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("[") and line.endswith("]"):
            current = groups.setdefault(line[1:-1], [])
            continue
        current.append(unicodedata.normalize("NFC", line))
    return groups


def code_length(text):
    """Bytes the text takes in the letter code: one per letter, point and other
    character; dagesh and the shin dots go into their letter, and so does the holam of
    vav and lamed and the qamats or sheva of final kaf."""
    total = 0
    for cluster in clusters(text):
        base, marks = cluster[0], cluster[1:]
        vowels = [m for m in marks if m in VOWELS]
        total += 1 + len(vowels)
        if (base == "ו" and HOLAM in vowels and DAGESH not in marks) or (base == "ל" and HOLAM in vowels):
            total -= 1
        elif base == "ך" and (QAMATS in vowels or SHEVA in vowels):
            total -= 1
    return total


def clusters(text):
    result = []
    for ch in text:
        if result and "\u0591" <= ch <= "\u05C7" and ch not in "\u05BE\u05C0\u05C3\u05C6":
            result[-1] += ch
        else:
            result.append(ch)
    return result


def check_bank(groups):
    for name, lines in groups.items():
        for line in lines:
            for word in line.split(" "):
                assert code_length(word) <= MAX_WORD, f"[{name}] word too long: {word}"
            assert "  " not in line and line == line.strip(), f"[{name}] spacing: {line}"


class Composer:
    def __init__(self, groups, number, dates):
        self.groups = groups
        self.number = number
        self.rng = random.Random(5765 * 1000 + number)
        self.month = MONTHS[dates[0][0]][0]
        self.theme = THEMES[(number - 1) % len(THEMES)]
        self.other = self.rng.choice([t for t in THEMES if t != self.theme])
        self.dates = dates
        self.decks = {}

    def sentence(self, theme):
        """The next sentence of a shuffled deck, so that a lesson repeats a sentence
        only once its pool is used up."""
        if theme == "calendar" and self.rng.random() < 0.3:
            theme = "month:" + self.month
        deck = self.decks.get(theme)
        if not deck:
            deck = self.decks[theme] = list(self.groups[theme])
            self.rng.shuffle(deck)
        return deck.pop()

    def paragraph(self, theme, target):
        sentences = []
        while True:
            sentence = self.sentence(theme)
            if sentence in sentences:  # its deck came round again: draw once more
                sentence = self.sentence(theme)
            candidate = " ".join(sentences + [sentence])
            if sentences and code_length(candidate) > min(target + 30, MAX_TEXT):
                return " ".join(sentences)
            sentences.append(sentence)
            if code_length(candidate) >= target:
                return candidate

    def kinds(self):
        """The paragraph kinds after the two opening headings, in order."""
        rng = self.rng
        count = rng.choice(range(8, 58)) if rng.random() < 0.9 else rng.choice((8, 9, 56, 57))
        extra_headings = rng.choices((0, 1, 2), weights=(15, 70, 15))[0]
        small_headings = rng.choices((1, 2, 3), weights=(25, 50, 25))[0]
        notes = rng.choices((0, 1, 2), weights=(20, 55, 25))[0]
        rules = rng.choices((0, 1, 2), weights=(15, 70, 15))[0]
        body = max(count - extra_headings - small_headings - notes - rules, 4)
        blocks = [["body"] for _ in range(body)]
        # Small headings and extra headings open blocks; rules close them; notes follow
        # a body paragraph.
        positions = sorted(rng.sample(range(1, body), min(body - 1, small_headings + extra_headings)))
        openers = ["small"] * small_headings + ["heading"] * extra_headings
        rng.shuffle(openers)
        for position, opener in zip(positions, openers):
            blocks[position].insert(0, opener)
        for _ in range(notes):
            blocks[rng.randrange(body)].append("note")
        for _ in range(rules):
            blocks[rng.randrange(1, body)].insert(0, "rule")
        return [kind for block in blocks for kind in block]

    def compose(self):
        title = date_title(self.dates)
        lines = [f"# שִׁעוּר {hebrew_number(self.number)}: {THEME_TITLES[self.theme]}",
                 f"# {title} {YEAR_TITLE}"]
        parts = iter(PART_TITLES)
        theme = self.theme
        rule_width = 172 if self.number == SHORT_RULE_LESSON else 210
        themes = []  # the theme of each body paragraph, None for other lines
        for kind in self.kinds():
            if kind == "body":
                lines.append(None)
                themes.append(theme)
                continue
            if kind == "small":
                lines.append("## " + self.rng.choice(self.groups["subheads:" + theme]))
            elif kind == "heading":
                theme = self.other if theme == self.theme else self.theme
                lines.append(f"# {next(parts, PART_TITLES[-1])}: {THEME_TITLES[theme]}")
            elif kind == "note":
                lines.append("> " + self.rng.choice(self.groups["notes"]))
            elif kind == "rule":
                lines.append("---" if rule_width == 210 else f"--- {rule_width}")
                rule_width = 210
        if self.number in LEFT_TO_RIGHT_LESSONS:
            lines.insert(len(lines) - 1, "< * * *")
        if rule_width == 172:  # no rule drawn by chance: place the short one at the end
            lines.insert(len(lines) - 1, "--- 172")
        self.fill_body(lines, themes)
        return lines

    def fill_body(self, lines, themes):
        """Writes the body paragraphs so that the lesson comes near a size drawn from
        the stored data's range."""
        budget = self.rng.randrange(3300, 9600) - stream_size([l for l in lines if l])
        slots = [i for i, line in enumerate(lines) if line is None]
        long_slot = slots[len(slots) // 2] if self.number == LONG_PARAGRAPH_LESSON else None
        for count, (slot, theme) in enumerate(zip(slots, themes)):
            left = len(slots) - count
            want = max(40, int(budget / left * self.rng.uniform(0.5, 1.5)) - 3)
            if slot == long_slot:
                want = MAX_TEXT - 40
            text = self.paragraph(theme, min(want, MAX_TEXT))
            lines[slot] = "* " + text
            budget -= code_length(text) + 3


def stream_size(lines):
    size = 3
    for line in lines:
        marker, _, text = line.partition(" ")
        size += 3 if marker == "---" else 3 + code_length(text)
    return size


def write_lessons(groups, days, out):
    (out / "lessons").mkdir(parents=True, exist_ok=True)
    for n in range(1, LESSON_COUNT + 1):
        composer = Composer(groups, n, days[n])
        lines = composer.compose()
        while not 3000 <= stream_size(lines) <= 10000:
            lines = composer.compose()
        assert 10 <= len(lines) <= 59, (n, len(lines))
        assert 3000 <= stream_size(lines) <= 10000, (n, stream_size(lines))
        (out / "lessons" / f"{n:03}.txt").write_text("\n".join(lines) + "\n", encoding="utf-8")


def write_index(days, out):
    lines = ["; The table of contents: '#' starts a section, a number a lesson entry."]
    section = None
    for n in range(1, LESSON_COUNT + 1):
        month = days[n][0][0]
        if month != section:
            section = month
            key, name, _ = MONTHS[month]
            lines.append(f"# {SECTION_NAMES.get(key, name)} {YEAR_TITLE}")
        lines.append(f"{n} {date_title(days[n])}")
    (out / "index.txt").write_text("\n".join(lines) + "\n", encoding="utf-8")


def main():
    here = pathlib.Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bank", type=pathlib.Path, default=here / "sentence_bank.txt")
    parser.add_argument("--out", type=pathlib.Path, default=here.parent.parent / "resources" / "book")
    args = parser.parse_args()
    groups = read_bank(args.bank)
    check_bank(groups)
    days = lesson_days()
    write_lessons(groups, days, args.out)
    write_index(days, args.out)


if __name__ == "__main__":
    main()
