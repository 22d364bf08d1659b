#!/usr/bin/python3
# Writes the member list as pandas writes it with DataFrame.to_csv() and its
# defaults: the index as an unnamed first column, "," as separator, dates
# as yyyy-mm-dd, and a grade column with gaps as floats ("3.0", "10.0").
#   apt-get install python3-pandas
#   /usr/bin/python3 make-pandas-files.py     (Debian's python3, in this folder)
# The file is checked in: the tests need no pandas.
import datetime

import pandas as pd

from members import HEADER, MEMBERS


def grade(v):
    # The numbers a club program exports; "1. Dan" is 1, "5. Kyu" no Dan at all.
    if isinstance(v, int):
        return float(v)
    if isinstance(v, str) and v.endswith("Dan"):
        return float(v.split(".")[0])
    return float("nan")


def birth(v):
    if isinstance(v, datetime.date):
        return pd.Timestamp(v)
    if isinstance(v, str):
        return pd.to_datetime(v, format="%d.%m.%Y")
    return pd.NaT


frame = pd.DataFrame(MEMBERS, columns=HEADER)
frame["Geburtsdatum"] = [birth(v) for v in frame["Geburtsdatum"]]
frame["Dan"] = [grade(v) for v in frame["Dan"]]
frame.to_csv("pandas.csv")
