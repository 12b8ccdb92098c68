#!/usr/bin/env python3
"""Which texts of an interpretation file stand on one day, and about what.

Runs `meridan scan` for many birth dates over a year of months, collects
every pair of printed texts that fall on the same day, and gives each text
its matter: documents, money, the technique, people, the road or one's own
state, read from the words of its first sentence (the claim a reader takes
in first). A pair that shares a matter and has opposite bars (a blue text
beside a red one) is listed for an editor to read: the two must be able to
stand together. Everything else is counted.

A flagged pair that an editor has read and found able to stand together
goes into read_pairs.txt beside this script, with a hash of both texts:
it is counted as read and no longer listed, until either text changes.
--mark prints such lines for the pairs still listed, to paste after
reading them.

    tools/texts/same_day_pairs.py --meridan build/program/meridan --dir PROGRAM_DIR
"""

import argparse
import collections
import hashlib
import os
import itertools
import re
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

KINDS = {"trips": "go.dat", "service": "servis.dat", "sale": "sale.dat"}

# Stems of each matter, lower case, «е» for «ё». The first sentence's hits
# decide; a tie goes to the earlier matter in this list.
MATTERS = {
    "documents": "документ бумаг договор полис страхов птс стс регистрац заказ-наряд подпис справк "
    "штраф инспектор госавтоинспекц реестр залог оформлен протокол гаранти смет чек".split(),
    "money": "деньг денеж цен бюджет трат кредит скидк расход переплат оплат задат рассрочк стоимост "
    "выгод сумм купюр торг платеж экономи".split(),
    "technique": "тормоз шин двигател мотор электри электрон проводк детал запчаст ремонт масл жидкост "
    "аккумулятор диагност осмотр подвеск кузов болт резьб датчик механик колодк салон "
    "полиров покраск техник".split(),
    "people": "попутчик пассажир водител мастер продав покупател собеседник близк спор приемщик сервис "
    "консультант дилер сторон ссор конфликт давлен нажим".split(),
    "road": "дорог маршрут навигатор навигац пробк трасс поток съезд указател обгон дистанц "
    "развязк перекрест поездк путешеств пут".split(),
    "self": "усталост раздражен внимани настроени сил энерги реакц нетерпен уверенн голов мысл "
    "чуть интуиц азарт спешк терпени самолюби вкус желани".split(),
}


def fold(text):
    return text.lower().replace("ё", "е")


def matter_of(text):
    first = re.split(r"[.!?]", text, maxsplit=1)[0]
    words = re.findall(r"[а-яa-z-]+", fold(first))
    score = {m: sum(any(w.startswith(s) for s in stems) for w in words) for m, stems in MATTERS.items()}
    best = max(score.values())
    return next(m for m, s in score.items() if s == best) if best else "self"


# Stems too general to say what a sentence is about («дорог» is also
# «дорогой», expensive).
GENERAL = set("дорог пут поездк поток сервис салон мастер сил мысл сторон техник".split())


def topics(text):
    """The matter stems that the first sentence names, the general ones left out."""
    first = re.split(r"[.!?]", text, maxsplit=1)[0]
    words = re.findall(r"[а-яa-z-]+", fold(first))
    return {s for stems in MATTERS.values() for s in stems for w in words
            if w.startswith(s) and s not in GENERAL}


def load_texts(path):
    """(transit, aspect, natal) -> (record number, rating, text), first record wins."""
    lines = open(path, "rb").read().decode("cp1251").replace("\r\n", "\n").split("\n")
    texts, number = {}, 0
    for i, line in enumerate(lines):
        if not line.startswith("*"):
            continue
        number += 1
        key = (int(line[2:5]), int(line[6:9]), int(line[10:13]))
        code = int(line[14:17])
        rating = -(code - 100) if code > 100 else code
        texts.setdefault(key, (number, rating, lines[i + 1].split("@")[0]))
    return texts


def key_name(key):
    return "-".join(f"{part:03d}" for part in key)


def pair_hash(text_a, text_b):
    return hashlib.sha1(f"{text_a}\n{text_b}".encode("utf-8")).hexdigest()[:10]


def load_read(path):
    """(kind, key a, key b) -> hash of both texts when the pair was read."""
    read = {}
    if not os.path.exists(path):
        return read
    for line in open(path, encoding="utf-8"):
        fields = line.split("#", 1)[0].split()
        if fields:
            kind, a, b, digest = fields[:4]
            read[(kind, a, b)] = digest
    return read


def scan(meridan, program_dir, kind, birth, month):
    out = subprocess.run(
        [meridan, "scan", "--kind", kind, "--birth", birth, "--month", month, "--dir", program_dir],
        check=True, capture_output=True, text=True).stdout
    days = collections.defaultdict(list)
    for line in out.splitlines():
        day, transit, aspect, natal, _rating, accepted, _length = map(int, line.split("\t"))
        if accepted:
            days[day].append((transit, aspect, natal))
    return [sorted(set(hits)) for hits in days.values()]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--meridan", required=True)
    ap.add_argument("--dir", required=True, help="program directory whose System/ holds the texts")
    ap.add_argument("--year", type=int, default=2027)
    ap.add_argument("--list", type=int, default=40, help="opposite pairs listed per kind")
    ap.add_argument("--read", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                   "read_pairs.txt"),
                    help="pairs read and judged to stand together")
    ap.add_argument("--mark", action="store_true",
                    help="print the listed pairs as lines for the read file")
    args = ap.parse_args()
    read = load_read(args.read)

    # Births one a month and a few days apart over six decades, so that the
    # natal bodies take every sign.
    births = [f"{(7 * k) % 28 + 1:02d}.{k % 12 + 1:02d}.{1950 + (k * 7) % 56}" for k in range(30)]
    months = [f"{m:02d}.{args.year}" for m in range(1, 13)]

    for kind, file in KINDS.items():
        texts = load_texts(f"{args.dir}/System/{file}")
        matters = {key: matter_of(t[2]) for key, t in texts.items()}
        jobs = [(kind, b, m) for b in births for m in months]
        with ThreadPoolExecutor(max_workers=2) as pool:
            results = pool.map(lambda j: scan(args.meridan, args.dir, *j), jobs)
        pairs = collections.Counter()
        days = 0
        for month_days in results:
            for hits in month_days:
                days += 1
                for a, b in itertools.combinations(hits, 2):
                    pairs[(a, b)] += 1
        same = {p: n for p, n in pairs.items() if matters[p[0]] == matters[p[1]]}
        opposite = {p: n for p, n in same.items() if texts[p[0]][1] * texts[p[1]][1] < 0}
        # Opposite bars whose first sentences name the same thing (fatigue,
        # the route, money talk): the pairs a reader may take for a clash.
        named = {k: topics(t[2]) for k, t in texts.items()}
        close = {p: n for p, n in opposite.items() if named[p[0]] & named[p[1]]}
        unread = {p: n for p, n in close.items()
                  if read.get((kind, key_name(p[0]), key_name(p[1])))
                  != pair_hash(texts[p[0]][2], texts[p[1]][2])}
        print(f"== {kind} ({file}): {len(births)} births x {len(months)} months, {days} days with "
              f"texts; {len(pairs)} distinct same-day pairs, {len(same)} share a matter, "
              f"{len(opposite)} of them with a blue and a red bar, {len(close)} of these naming "
              f"the same thing in their first sentences: {len(close) - len(unread)} read and "
              f"found to stand together, {len(unread)} to read")
        print("   matters: " + ", ".join(f"{m} {n}" for m, n in
                                         collections.Counter(matters.values()).most_common()))
        listed = sorted(unread.items(), key=lambda x: -x[1])[: args.list]
        if args.mark:
            for (a, b), _ in listed:
                print(f"{kind} {key_name(a)} {key_name(b)} "
                      f"{pair_hash(texts[a][2], texts[b][2])}  # #{texts[a][0]} / #{texts[b][0]}")
            continue
        for (a, b), n in listed:
            ta, tb = texts[a], texts[b]
            both = " ".join(sorted(named[a] & named[b]))
            print(f"   {n:4d} days  #{ta[0]} ({ta[1]:+d}) / #{tb[0]} ({tb[1]:+d})  [{matters[a]}: {both}]")
            print(f"        #{ta[0]}: {ta[2][:150]}")
            print(f"        #{tb[0]}: {tb[2][:150]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
