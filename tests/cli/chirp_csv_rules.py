#!/usr/bin/env python3
"""Reads a CHIRP CSV file by the rules of CHIRP's generic CSV reader, as its
published format and reader describe them, and says what CHIRP would make of
it.

    chirp_csv_rules.py FILE.csv

The file is UTF-8 (a byte-order mark allowed), comma-separated with '"'
quotes. Lines whose first cell starts with '#' are comments. The first other
line is the header; the reader maps columns by their exact names. A row with
fewer cells than the header is refused. Every cell of a column the reader
knows is converted, and a cell that does not convert refuses its row:

    Location       a whole number (empty: no location, refused)
    Frequency      MHz with at most six decimals ("" reads as 0: no channel)
    Offset         MHz, the same form
    Duplex         "", "+", "-", "split" or "off"
    Tone           "", "Tone", "TSQL", "DTCS", "DTCS-R", "TSQL-R" or "Cross"
    rToneFreq,     a number of hertz above 50 and below 300
    cToneFreq
    DtcsCode,      a code of octal digits, 0 to 777
    RxDtcsCode
    DtcsPolarity   "NN", "NR", "RN" or "RR"
    CrossMode      "Tone->Tone", "DTCS->", "->DTCS", "Tone->DTCS",
                   "DTCS->Tone", "->Tone", "DTCS->DTCS" or "Tone->"
    Mode           one of CHIRP's modes (FM, NFM, AM, WFM, DV, ...)
    TStep          a number
    Skip           "", "S" or "P"
    Power          watts: digits, optionally with a fraction and a "W"

A header with only one of rToneFreq and cToneFreq reads that column for both.

On success it prints one line per channel, in CHIRP's meaning:
    LOCATION RX_HZ TX_HZ TX_TONE RX_TONE
where a tone is "None", a CTCSS frequency "%.1f" or a DCS code "D%03dN" /
"D%03dI" (I for a reversed polarity), and a channel without transmit has
TX_HZ "off". Exit status 0 when every row reads and at least one channel
does; 1 with one line per refused row (and "No channels found") otherwise.
"""

import csv
import re
import sys

MODES = ("WFM", "FM", "NFM", "AM", "NAM", "DV", "USB", "LSB", "CW", "RTTY", "DIG", "PKT", "NCW",
         "NCWR", "CWR", "P25", "Auto", "RTTYR", "FSK", "FSKR", "DMR", "DN")
TONE_MODES = ("", "Tone", "TSQL", "DTCS", "DTCS-R", "TSQL-R", "Cross")
CROSS_MODES = ("Tone->Tone", "DTCS->", "->DTCS", "Tone->DTCS", "DTCS->Tone", "->Tone", "DTCS->DTCS",
               "Tone->")
DUPLEXES = ("", "+", "-", "split", "off")
POLARITIES = ("NN", "NR", "RN", "RR")
SKIPS = ("", "S", "P")
# Columns whose empty cell the reader refuses: they must hold a value on
# every row that has them.
NEVER_EMPTY = ("Location", "rToneFreq", "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode",
               "CrossMode", "Mode", "TStep", "Power")


def megahertz(text):
    """MHz text to whole hertz, as the reader's frequency rule reads it."""
    text = text.strip()
    if text == "":
        return 0
    if "." in text:
        whole, fraction = text.split(".")
        if len(fraction) > 6:
            raise ValueError("more than six decimals in %r" % text)
        return int(whole or "0") * 1000000 + int(fraction.ljust(6, "0"))
    return int(text) * 1000000


def tone(text):
    value = float(text)
    if not 50 < value < 300:
        raise ValueError("%r is not a tone" % text)
    return value


def dcs(text):
    value = int(text)
    if not (0 <= value <= 777 and all(d in "01234567" for d in "%03d" % value)):
        raise ValueError("%r is not a DCS code" % text)
    return value


def one_of(choices):
    def check(text):
        if text not in choices:
            raise ValueError("%r is not one of %s" % (text, ", ".join(repr(c) for c in choices)))
        return text
    return check


def power(text):
    if not (text.isdigit() or re.match(r"^\s*([0-9.]+)\s*([Ww]?)\s*$", text)):
        raise ValueError("not a power in watts: %r" % text)
    return text


CONVERT = {
    "Location": int,
    "Frequency": megahertz,
    "Offset": megahertz,
    "Duplex": one_of(DUPLEXES),
    "Tone": one_of(TONE_MODES),
    "rToneFreq": tone,
    "cToneFreq": tone,
    "DtcsCode": dcs,
    "RxDtcsCode": dcs,
    "DtcsPolarity": one_of(POLARITIES),
    "CrossMode": one_of(CROSS_MODES),
    "Mode": one_of(MODES),
    "TStep": float,
    "Skip": one_of(SKIPS),
    "Power": power,
}

DEFAULTS = {"Offset": 600000, "Duplex": "", "Tone": "", "rToneFreq": 88.5, "cToneFreq": 88.5,
            "DtcsCode": 23, "RxDtcsCode": 23, "DtcsPolarity": "NN", "CrossMode": "Tone->Tone"}


def tone_text(kind, value, polarity_letter):
    if kind == "Tone":
        return "%.1f" % value
    if kind == "DTCS":
        return "D%03d%s" % (value, "I" if polarity_letter == "R" else "N")
    return "None"


def meaning(mem):
    """(tx tone, rx tone) of a channel, by its tone mode."""
    mode = mem["Tone"]
    pol = mem["DtcsPolarity"]
    if mode == "":
        return "None", "None"
    if mode == "Tone":
        return tone_text("Tone", mem["rToneFreq"], ""), "None"
    if mode == "TSQL":
        t = tone_text("Tone", mem["cToneFreq"], "")
        return t, t
    if mode == "DTCS":
        return tone_text("DTCS", mem["DtcsCode"], pol[0]), tone_text("DTCS", mem["DtcsCode"], pol[1])
    if mode == "Cross":
        tx_kind, rx_kind = mem["CrossMode"].split("->")
        tx_value = mem["rToneFreq"] if tx_kind == "Tone" else mem["DtcsCode"]
        rx_value = mem["cToneFreq"] if rx_kind == "Tone" else mem["RxDtcsCode"]
        return tone_text(tx_kind, tx_value, pol[0]), tone_text(rx_kind, rx_value, pol[1])
    raise ValueError("tone mode %r is not checked here" % mode)


def transmit(mem):
    duplex = mem["Duplex"]
    if duplex == "off":
        return "off"
    if duplex == "split":
        return mem["Offset"]
    if duplex == "+":
        return mem["Frequency"] + mem["Offset"]
    if duplex == "-":
        return mem["Frequency"] - mem["Offset"]
    return mem["Frequency"]


def read(path):
    errors = []
    channels = []
    with open(path, newline="", encoding="utf-8-sig") as f:
        header = None
        lineno = 0
        for line in csv.reader(f, delimiter=",", quotechar='"'):
            if not line:
                errors.append("a blank line: the reader takes every line as a row")
                continue
            if line[0].startswith("#"):
                continue
            lineno += 1
            if header is None:
                header = line
                for name in ("Location", "Frequency"):
                    if name not in header:
                        errors.append("Line 1: no %s column" % name)
                continue
            if len(header) > len(line):
                errors.append("Line %i has %i columns, expected %i" % (lineno, len(line), len(header)))
                continue
            mem = dict(DEFAULTS)
            try:
                for name, cell in zip(header, line):
                    if name not in CONVERT:
                        continue
                    if cell == "" and name in NEVER_EMPTY:
                        raise ValueError("[%s] empty" % name)
                    try:
                        mem[name] = CONVERT[name](cell)
                    except ValueError as e:
                        raise ValueError("[%s] %s" % (name, e))
                if "rToneFreq" in header and "cToneFreq" not in header:
                    mem["cToneFreq"] = mem["rToneFreq"]
                elif "cToneFreq" in header and "rToneFreq" not in header:
                    mem["rToneFreq"] = mem["cToneFreq"]
                if not mem.get("Frequency"):
                    continue
                tx_tone, rx_tone = meaning(mem)
                channels.append("%d %s %s %s %s" % (mem["Location"], mem["Frequency"], transmit(mem),
                                                   tx_tone, rx_tone))
            except ValueError as e:
                errors.append("Line %i: %s" % (lineno, e))
    if not channels:
        errors.append("No channels found")
    return channels, errors


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: chirp_csv_rules.py FILE.csv\n")
        return 2
    channels, errors = read(sys.argv[1])
    for error in errors:
        sys.stderr.write(error + "\n")
    if errors:
        return 1
    sys.stdout.write("".join(c + "\n" for c in channels))
    return 0


if __name__ == "__main__":
    sys.exit(main())
