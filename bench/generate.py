#!/usr/bin/env python3
"""Writes realistic large replies and tables for Salvetor benchmarks, in CP866.

Usage: generate.py DIR LINES...   (one reply-LINES.txt per count, and the
tables salvetor.cfg, names.dat, macro.dat, filter.dat, filter2.dat in DIR).
The output depends only on the arguments (a fixed random seed).
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


def reply(rng, count):
    lines = []
    name = rng.choice(FIRST)
    initials = name[0] + rng.choice("PKSVM")
    pieces = 0  # lines as the program reads them: a long line wraps into two
    while pieces < count:
        pieces += 1
        kind = rng.random()
        if kind < 0.04:
            lines.append(f"Hello, {rng.choice(FIRST)}!")
        elif kind < 0.06:
            lines.append(f" {initials}> Привет, All!")
        elif kind < 0.45:
            words = RU_WORDS if rng.random() < 0.5 else EN_WORDS
            lines.append(f" {initials}> " + sentence(rng, words, rng.randint(20, 70)))
        elif kind < 0.48:
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


def tables(rng):
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


def write(path, lines):
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp866"))


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    target = sys.argv[1]
    os.makedirs(target, exist_ok=True)
    rng = random.Random(1999)
    for name, lines in tables(rng).items():
        write(os.path.join(target, name), lines)
    for count in sys.argv[2:]:
        write(os.path.join(target, f"reply-{count}.txt"), reply(random.Random(int(count)), int(count)))


if __name__ == "__main__":
    main()
