#!/usr/bin/env python3
"""Random replies and tables for bench/compare.sh.

Usage: random_cases.py DIR COUNT  (DIR/i/reply.txt, DIR/i/options and the
tables in DIR/i/data for i < COUNT). Deterministic for a given COUNT.
"""
import os
import random
import sys

WORDS = ["Hello", "Привет", "Vasily", "Вася", "Нет", "рука", "btw", "{btw}", "imho", "All", "---", "...",
         "* Origin:", "Pupkin", "Sergey", "пока", "Bye", "=>", "->", "»", "—", "\x1a", "\t", "", "р", "Н"]
OPTIONS = ["", "/F /Key-", "/F1 /Key-", "/F2 /Key- /IF", "/F /Key- /SB-", "/SN", "/SN /FN-", "/M-",
           "/F /Key- /H=3 /F=2", "/F=5 /Key- /IF /SN", "/CS=UTF-8", "/CS=KOI8-R /F /Key-", "/CS=CP1251"]
ENDS = ["\r\n", "\n", "\r"]


def line(rng):
    prefix = rng.choice(["", "", " AB> ", ">> ", " XY>", "Hello, ", "Hi ", "Привет, "])
    words = [rng.choice(WORDS) for _ in range(rng.randint(0, 12))]
    text = prefix + " ".join(words)
    if rng.random() < 0.05:
        text += " " + "long" * rng.randint(60, 120)  # past 255: wrapped
    return text


def encode(text, rng):
    if rng.random() < 0.3:
        return text.encode("utf-8")
    return text.encode("cp866", errors="replace")


def main():
    target, count = sys.argv[1], int(sys.argv[2])
    for i in range(count):
        rng = random.Random(i)
        case = os.path.join(target, str(i))
        data = os.path.join(case, "data")
        os.makedirs(data, exist_ok=True)
        end = rng.choice(ENDS)
        reply = end.join(line(rng) for _ in range(rng.randint(0, 60)))
        with open(os.path.join(case, "reply.txt"), "wb") as f:
            f.write(encode(reply + (end if rng.random() < 0.8 else ""), rng))
        tables = {
            "salvetor.cfg": ["Hello, @Name!", "Hi @Name", "Привет, @Name!", "@Name says"][: rng.randint(0, 4)],
            "names.dat": ["Vasily,Вася", "Sergey,Серёжа", "Pupkin,Пупкин", "VASILY,Second"][: rng.randint(0, 4)],
            "macro.dat": ["{btw},by the way", "imho,in my humble opinion", "a,aa", "рука,нога"][: rng.randint(0, 4)],
            "filter.dat": ['"> Hello"', '"> Bye"', "пока"][: rng.randint(0, 3)],
            "filter2.dat": ['"---"', "All"][: rng.randint(0, 2)],
        }
        for name, lines in tables.items():
            with open(os.path.join(data, name), "wb") as f:
                f.write(encode("\r\n".join(lines) + "\r\n", rng))
        with open(os.path.join(case, "options"), "w") as f:
            f.write(rng.choice(OPTIONS))


if __name__ == "__main__":
    main()
