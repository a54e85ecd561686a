#!/usr/bin/env python3
"""Writes realistic large replies and tables for Salvetor benchmarks, in CP866.

Usage: generate.py [--set SET] DIR LINES...   (one reply-LINES.txt per count,
and the tables salvetor.cfg, names.dat, macro.dat, filter.dat, filter2.dat in
DIR). SET is one of
  easy       20 templates, 1,000 names, 100 macros, 100 + 2 filter patterns;
  hard       the same sizes as users' tables can be hard: 50 whole-quote
             patterns sharing their first letters, 100 macros whose keys share
             a prefix, the common names at the end of the names table, and
             replies with many greetings and quoted name lines (the default);
  macros10k  hard with 10,000 macros;
  names10k   hard with 10,000 names.
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


def reply(rng, count, hard=False):
    greetings, names = (0.10, 0.08) if hard else (0.04, 0.03)
    lines = []
    name = rng.choice(FIRST)
    initials = name[0] + rng.choice("PKSVM")
    pieces = 0  # lines as the program reads them: a long line wraps into two
    while pieces < count:
        pieces += 1
        kind = rng.random()
        if kind < greetings:
            lines.append(f"Hello, {rng.choice(FIRST)}!")
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
            lines.append(sentence(rng, words, rng.randint(10, 75)) + rng.choice(["", " {btw}", " imho"]))
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
    table_set = "hard"
    if len(args) >= 2 and args[0] == "--set":
        table_set = args[1]
        args = args[2:]
    if len(args) < 2 or table_set not in SETS:
        sys.exit(__doc__)
    target = args[0]
    os.makedirs(target, exist_ok=True)
    rng = random.Random(1999)
    for name, lines in SETS[table_set](rng).items():
        write(os.path.join(target, name), lines)
    for count in args[1:]:
        write(os.path.join(target, f"reply-{count}.txt"),
              reply(random.Random(int(count)), int(count), hard=table_set != "easy"))


if __name__ == "__main__":
    main()
