#!/usr/bin/env python3
"""Reads what the answer journal and the files say, for run_journal.sh.

  journal_check.py prepare FOLDER BEGINNER EXAM  sets the list sizes in sys.dat
  journal_check.py answers FOLDER                 answers in the journal (car bank)
  journal_check.py handins FOLDER                 hand-ins in the journal
  journal_check.py counted FOLDER                 answers counted in bankdata/小车.tk
  journal_check.py history FOLDER                 historyCount of sys.dat
  journal_check.py marked FOLDER                  exit 0 when every car-bank answer is marked stored
"""
import os
import sqlite3
import struct
import sys

BANK_HEADER, RECORD, R_COUNT = 232, 2260, 2256
BEGINNER_AT, HISTORY_COUNT_AT, EXAM_COUNT_AT = 12, 24, 2472376


def journal(folder):
    path = os.path.join(folder, "bankdata", "journal.db")
    if not os.path.exists(path):
        return None
    return sqlite3.connect(path, timeout=5)


def scalar(folder, sql, default=0):
    db = journal(folder)
    if db is None:
        return default
    try:
        row = db.execute(sql).fetchone()
        return default if row is None or row[0] is None else row[0]
    finally:
        db.close()


def main():
    what, folder = sys.argv[1], sys.argv[2]
    state_path = os.path.join(folder, "bankdata", "sys.dat")
    if what == "prepare":
        data = bytearray(open(state_path, "rb").read())
        struct.pack_into("<i", data, BEGINNER_AT, int(sys.argv[3]))
        struct.pack_into("<i", data, EXAM_COUNT_AT, int(sys.argv[4]))
        open(state_path, "wb").write(data)
    elif what == "answers":
        print(scalar(folder, "SELECT count(*) FROM answers a JOIN banks b ON b.id = a.bank WHERE b.tag = CAST('TKxiaoche' AS BLOB)"))
    elif what == "handins":
        print(scalar(folder, "SELECT count(*) FROM handins"))
    elif what == "counted":
        data = open(os.path.join(folder, "bankdata", "小车.tk"), "rb").read()
        count = struct.unpack_from("<i", data, 0)[0]
        print(sum(struct.unpack_from("<i", data, BANK_HEADER + RECORD * k + R_COUNT)[0] for k in range(1, count + 1)))
    elif what == "history":
        print(struct.unpack_from("<i", open(state_path, "rb").read(), HISTORY_COUNT_AT)[0])
    elif what == "marked":
        last = scalar(folder, "SELECT max(seq) FROM answers a JOIN banks b ON b.id = a.bank WHERE b.tag = CAST('TKxiaoche' AS BLOB)")
        row = scalar(folder, "SELECT applied_seq FROM banks WHERE tag = CAST('TKxiaoche' AS BLOB) AND intended_seq IS NULL", -1)
        sys.exit(0 if last > 0 and row == last else 1)


main()
