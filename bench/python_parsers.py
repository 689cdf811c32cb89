#!/usr/bin/env python3
"""Python's csv module and ElementTree on the answers that parsers_bench writes
(parsers_bench --write-answers=DIR): MB/s of a whole parse into rows, best of five, in
processor time (as Google Benchmark reports it), so that a loaded machine compares fairly."""
import csv
import io
import sys
import time
import xml.etree.ElementTree as ET


def best(fn, text):
    times = []
    for _ in range(5):
        start = time.process_time()
        fn(text)
        times.append(time.process_time() - start)
    return len(text) / min(times) / (1 << 20)


def csv_rows(text):
    return list(csv.reader(io.StringIO(text.decode("latin-1"))))


def xml_rows(text):
    root = ET.fromstring(text)
    return [[child.text for child in record] for tag in ("Receipt", "Transfer", "Transaction")
            for record in root.iter(tag)]


def gdp_rows(text):
    # The balance parts follow each other without a root element.
    root = ET.fromstring(b"<r>" + text + b"</r>")
    return [[child.tag, child.text] for part in root.iter("balance") for child in part]


def main(folder):
    for name, fn in (("lr_history", xml_rows), ("vm_history", xml_rows),
                     ("pm_history", csv_rows), ("eg_history", csv_rows),
                     ("gdp_balances", gdp_rows)):
        figures = []
        for mb in (1, 10):
            with open(f"{folder}/{name}_{mb}mb", "rb") as f:
                figures.append(best(fn, f.read()))
        print(f"{name:12s} {'csv' if fn is csv_rows else 'ElementTree':12s} "
              f"1 MB: {figures[0]:7.1f} MB/s  10 MB: {figures[1]:7.1f} MB/s")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
