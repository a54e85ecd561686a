#!/usr/bin/env python3
"""Writes realistic large replies and tables for Salvetor benchmarks, in CP866.

Usage: generate.py [--set SET] [--seed N] DIR LINES...   (one reply-LINES.txt
per count, and the tables salvetor.cfg, names.dat, macro.dat, filter.dat,
filter2.dat in DIR). SET is one of
  easy       20 templates, 1,000 names, 100 macros, 100 + 2 filter patterns;
  hard       the same sizes as users' tables can be hard: 50 whole-quote
             patterns sharing their first letters, 100 macros whose keys share
             a prefix, the common names at the end of the names table, and
             replies with many greetings and quoted name lines (the default);
  macros10k  hard with 10,000 macros;
  names10k   hard with 10,000 names;
  random     a family of table sets drawn with --seed N (default 1): 100 to
             1,000 macros whose keys of 2 to 12 characters share beginnings
             and endings, hold digits and Cyrillic, and are parts of other
             keys; 1,000 to 10,000 names with random forms; 10 to 40
             templates; 20 to 100 filter phrases per list with shared
             beginnings; replies that use the keys and the names.
The output depends only on the arguments (fixed random seeds).
"""
import os
import random
import sys

FIRST = ["Vasily", "Sergey", "Dmitry", "Alexander", "Elena", "Natalia", "Ivan", "Olga",
         "Mikhail", "Tatiana", "Andrey", "Irina", "Pavel", "Yulia", "Nikolay", "Anna"]
RU_WORDS = ["привет", "сообщение", "фидонет", "вопрос", "ответ", "компьютер", "программа",
            "редактор", "письмо", "сеть", "узел", "поинт", "работает", "настройка", "файл",
            "Нет", "Может", "русский", "шрифт", "проще", "сервер", "модем"]
EN_WORDS = ["the", "message", "editor", "works", "fine", "with", "tosser", "node", "point",
            "area", "echo", "config", "question", "answer", "Linux", "DOS", "GoldED", "modem"]


def sentence(rng, words, width):
    out = []
    while sum(len(w) + 1 for w in out) < width:
        out.append(rng.choice(words))
    return " ".join(out)


def reply(rng, count, hard=False, keys=None, greetings_of=None):
    greetings, names = (0.10, 0.08) if hard else (0.04, 0.03)
    lines = []
    name = rng.choice(FIRST)
    initials = name[0] + rng.choice("PKSVM")
    pieces = 0  # lines as the program reads them: a long line wraps into two
    while pieces < count:
        pieces += 1
        kind = rng.random()
        if kind < greetings:
            lines.append(greetings_of(rng) if greetings_of else f"Hello, {rng.choice(FIRST)}!")
        elif kind < greetings + 0.02:
            lines.append(f" {initials}> Привет, All!")
        elif kind < 0.45:
            words = RU_WORDS if rng.random() < 0.5 else EN_WORDS
            lines.append(f" {initials}> " + sentence(rng, words, rng.randint(20, 70)))
        elif kind < 0.45 + names:
            lines.append(f" {initials}> {name}")
        elif kind < 0.50:
            lines.append(rng.choice([f" {initials}> ... tagline number {rng.randint(1, 999)}",
                                     f" {initials}> --- GoldED+/LNX 1.1.5",
                                     f" {initials}>  * Origin: Station {rng.randint(1, 99)} (2:5020/{rng.randint(1, 9999)})"]))
        elif kind < 0.60:
            lines.append("")
        elif kind < 0.62:
            if pieces == count:
                continue
            pieces += 1
            lines.append(sentence(rng, EN_WORDS + RU_WORDS, 300)[:300])  # a long line
        else:
            words = RU_WORDS if rng.random() < 0.5 else EN_WORDS
            ends = ["", " {btw}", " imho"] if not keys else ["", "", " " + rng.choice(keys)]
            lines.append(sentence(rng, words, rng.randint(10, 75)) + rng.choice(ends))
    return lines


def easy_tables(rng):
    cfg = [f"{g} @Name!" for g in ["Hello,", "Hi,", "Hello", "Hi", "Dear", "Привет,", "Привет",
                                   "Здравствуй,", "Здравствуйте,", "Приветствую,", "Добрый день,",
                                   "Добрый вечер,", "Доброе утро,", "Салют,", "Good day,",
                                   "Greetings,", "Howdy,", "Hey,", "Ahoy,", "Доброго времени суток,"]]
    names = [f"{n},Имя{n}" for n in FIRST]
    while len(names) < 1000:
        names.append("".join(rng.choice("abcdefghiklmnoprstuvy") for _ in range(rng.randint(4, 9))).capitalize()
                     + ",Имя" + str(len(names)))
    macros = ["{btw},by the way", "imho,in my humble opinion"]
    while len(macros) < 100:
        macros.append("{m%d},macro number %d" % (len(macros), len(macros)))
    filters = ['"> Привет, "', '"> Hello, "', '"> Bye"', '"> С уважением"']
    while len(filters) < 100:
        filters.append('"> phrase %d"' % len(filters))
    filter2 = ['"> SEEN-BY: "', '"> PATH: "']
    return {"salvetor.cfg": cfg, "names.dat": names, "macro.dat": macros,
            "filter.dat": filters, "filter2.dat": filter2}


def random_name(rng, index):
    return "".join(rng.choice("abcdefghiklmnoprstuvy") for _ in range(rng.randint(4, 9))).capitalize() + \
        ",Имя" + str(index)


def hard_tables(rng, names_count=1000, macros_count=100):
    t = easy_tables(rng)
    # The names the replies use stand at the end of the table.
    names = [random_name(rng, i) for i in range(names_count - len(FIRST))]
    t["names.dat"] = names + [f"{n},Имя{n}" for n in FIRST]
    # Keys that share a long prefix, expansions that hold other keys' letters.
    macros = ["{btw},by the way", "imho,in my humble opinion"]
    while len(macros) < macros_count:
        macros.append("{macro-of-the-user-%d},expansion %d" % (len(macros), len(macros)))
    t["macro.dat"] = macros
    # Whole-quote patterns that share their first letters with each other
    # and with the quoted text.
    stems = ["> Привет", "> При", "> Пр", "> Hel", "> Hello", "> Здравс", "> С уваж", "> Пока"]
    filter2 = ['"> SEEN-BY: "', '"> PATH: "']
    while len(filter2) < 50:
        filter2.append('"%s%s %d"' % (rng.choice(stems), rng.choice(["ет", "ствуй", "ло", "ение"]), len(filter2)))
    t["filter2.dat"] = filter2
    return t


RU_LETTERS = "абвгдежзийклмнопрстуфхцчшщыэюя"
LETTERS = "abcdefghijklmnopqrstuvwxyz"


def random_word(rng, shortest, longest, alphabet):
    return "".join(rng.choice(alphabet) for _ in range(rng.randint(shortest, longest)))


def random_keys(rng, count):
    """Keys of 2 to 12 characters: shared beginnings and endings, digits,
    Cyrillic, and keys that are parts of other keys."""
    starts = [random_word(rng, 1, 4, rng.choice([LETTERS, RU_LETTERS, "{[<"])) for _ in range(rng.randint(3, 12))]
    endings = [random_word(rng, 1, 3, rng.choice([LETTERS, "}]>", "0123456789"])) for _ in range(rng.randint(3, 12))]
    keys = []
    while len(keys) < count:
        kind = rng.random()
        if kind < 0.4:
            key = rng.choice(starts) + random_word(rng, 0, 6, LETTERS + "0123456789") + rng.choice(endings)
        elif kind < 0.6:
            key = rng.choice(starts) + str(rng.randint(0, 999))
        elif kind < 0.75 and keys:
            whole = rng.choice(keys)  # a part of another key
            a = rng.randint(0, max(0, len(whole) - 2))
            key = whole[a:a + rng.randint(2, 6)]
        elif kind < 0.9:
            key = random_word(rng, 2, 8, RU_LETTERS)
        else:
            key = random_word(rng, 2, 4, LETTERS) + rng.choice(endings)
        key = key[:12].replace(",", "").replace(";", "").replace('"', "")
        if len(key) >= 2 and key not in keys:
            keys.append(key)
    return keys


def random_tables(rng):
    """One member of the random family: its sizes and shapes drawn from rng."""
    keys = random_keys(rng, rng.randint(100, 1000))
    macros = [k + "," + sentence(rng, EN_WORDS + RU_WORDS, rng.randint(5, 30)) for k in keys]
    names = [random_name(rng, i) for i in range(rng.randint(1000, 10000))]
    for n in FIRST:  # the names the replies use, anywhere in the table
        names.insert(rng.randint(0, len(names)), f"{n},{random_word(rng, 3, 8, RU_LETTERS).capitalize()}")
    greetings = ["Hello,", "Hi,", "Привет,", "Здравствуй,", "Добрый день,", "Dear", "Hey"]
    cfg = []
    for i in range(rng.randint(10, 40)):
        before = rng.choice(greetings) + ("" if i < len(greetings) else " " + random_word(rng, 2, 6, LETTERS + RU_LETTERS))
        cfg.append(f"{before} @Name{rng.choice(['!', ',', '.', '', '! How are you?'])}")
    stems = ["> " + random_word(rng, 2, 5, rng.choice([LETTERS, RU_LETTERS])) for _ in range(rng.randint(3, 10))]
    def phrases(count):
        return ['"%s%s %d"' % (rng.choice(stems), random_word(rng, 0, 6, RU_LETTERS + LETTERS), i) for i in range(count)]
    filters = ['"> Привет, "', '"> Hello, "', '"> Bye"'] + phrases(rng.randint(20, 100))
    filter2 = ['"> SEEN-BY: "', '"> PATH: "'] + phrases(rng.randint(20, 100))
    tables = {"salvetor.cfg": cfg, "names.dat": names, "macro.dat": macros,
              "filter.dat": filters, "filter2.dat": filter2}
    used = [c.split(" @Name")[0] for c in cfg]
    return tables, keys, lambda r: f"{r.choice(used)} {r.choice(FIRST)}{r.choice(['!', '', ' Ivanov!'])}"


SETS = {
    "easy": lambda rng: easy_tables(rng),
    "hard": lambda rng: hard_tables(rng),
    "macros10k": lambda rng: hard_tables(rng, macros_count=10000),
    "names10k": lambda rng: hard_tables(rng, names_count=10000),
}


def write(path, lines):
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp866"))


def main():
    args = sys.argv[1:]
    table_set, seed = "hard", 1
    while len(args) >= 2 and args[0] in ("--set", "--seed"):
        if args[0] == "--set":
            table_set = args[1]
        elif args[1].isdigit():
            seed = int(args[1])
        else:
            sys.exit(__doc__)
        args = args[2:]
    if len(args) < 2 or table_set not in list(SETS) + ["random"]:
        sys.exit(__doc__)
    target = args[0]
    os.makedirs(target, exist_ok=True)
    keys, greetings_of = None, None
    if table_set == "random":
        tables, keys, greetings_of = random_tables(random.Random(seed * 7919))
    else:
        tables = SETS[table_set](random.Random(1999))
    for name, lines in tables.items():
        write(os.path.join(target, name), lines)
    for count in args[1:]:
        rng = random.Random(int(count) + (seed * 100003 if table_set == "random" else 0))
        write(os.path.join(target, f"reply-{count}.txt"),
              reply(rng, int(count), hard=table_set != "easy", keys=keys, greetings_of=greetings_of))


if __name__ == "__main__":
    main()
