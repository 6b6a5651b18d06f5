#!/usr/bin/env python3
"""Writes the hand-made seeds of fuzz/corpus/ from the sample data folder and small built files.

Run from the repository root: python3 fuzz/seeds/make_seeds.py. The device reply seeds come from
the simulated device instead (fuzz_record_replies, built with the tests).
"""
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, "data")
CORPUS = os.path.join(ROOT, "fuzz", "corpus")
SEP = b"\n~~~~\n"


def data(*parts):
    with open(os.path.join(DATA, *parts), "rb") as f:
        return f.read()


def write(target, name, content):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(content)


def step(word, freq, span, device=b"\x00" * 9, pad=0):
    return struct.pack("<H", word) + device + bytes([pad]) + struct.pack("<II", freq, span)


def catalogue(version, programs, steps, end=True):
    """programs: list of (first step, running seconds)."""
    head = b"TVB\x00" + struct.pack("<HH", version, len(programs)) + b"\x00" * 8
    index = b"".join(struct.pack("<II", first * 20, secs) for first, secs in programs)
    body = b"".join(steps)
    if end:
        body += struct.pack("<H", 0xFFFF) + b"\x00" * 18
    return head + index + body


# trvimpr.tvb
write("catalogue_file", "sample.tvb", data("trvimpr.tvb"))
steps = [step(1, 100, 0), step(2, 1000, 500), step(1, 100, 0, pad=7), step(3, 2000000, 10, b"\x28\xf7\xf7\xf0\x00\x00\x35\xf5\xd8")]
write("catalogue_file", "three_programs.tvb", catalogue(7, [(0, 60), (2, 300), (3, 6000)], steps))
write("catalogue_file", "no_end_marker.tvb", catalogue(7, [(0, 60), (1, 90)], steps, end=False))
write("catalogue_file", "descending_offsets.tvb", catalogue(7, [(2, 60), (1, 90)], steps))
write("catalogue_file", "offset_past_steps.tvb", catalogue(7, [(0, 60), (9, 90)], steps))
write("catalogue_file", "empty_program_list.tvb", catalogue(7, [], steps))
write("catalogue_file", "wrong_magic.tvb", b"TVX" + catalogue(7, [(0, 1)], steps)[3:])
write("catalogue_file", "short_header.tvb", b"TVB\x00\x01\x00")
many = [step(k % 300, 10 * k, k % 7) for k in range(600)]
write("catalogue_file", "merge_heavy.tvb", catalogue(9, [(0, 1), (150, 2), (151, 3), (400, 4)], many))

# trvimpr.tvn: mode, program count, version, running time seed, then the file
def names_input(mode, count, version, seed, body):
    return bytes([mode]) + struct.pack("<HHI", count, version, seed) + body

for lang in ("ENG", "HUN"):
    tvn = data(lang, "trvimpr.tvn")
    lines = tvn.split(b"\r\n")
    count = int(lines[-2].split()[1])
    version = int(lines[0][1:])
    write("program_names", lang.lower() + "_sample", names_input(0, count, version, 0x12345, tvn))
    program_lines = b"\r\n".join(lines[1:-2]) + b"\r\n"
    write("program_names", lang.lower() + "_wrapped", names_input(3, 0, version, 0xFFFFFFFF, program_lines))
write("program_names", "long_names", names_input(3, 0, 1, 6000, b"1 " + b"N" * 96 + b"\r\n2 " + b"x" * 25 + b"\n3 \xe9\xe1\r\n"))
write("program_names", "percent_names", names_input(3, 0, 1, 77, b"2 %s%n%x\r\n1 100%% %d\r\n"))
write("program_names", "repeated_number", names_input(1, 2, 1, 5, b"1 A\r\n1 B\r\n"))
write("program_names", "no_closing_line", names_input(0, 1, 1, 5, b"#1\r\n1 A\r\n"))

# vorlix.spb
write("protocol_file", "sample.spb", data("vorlix.spb"))
def spb(sessions, protocols):
    head = b"TVX\x01" + struct.pack("<HH", len(sessions), len(protocols)) + b"\x00" * 56
    def plist(numbers):
        numbers = list(numbers)[:16]
        return struct.pack("<16I", *(numbers + [0] * (16 - len(numbers))))
    body = b"".join(plist(s) for s in sessions)
    for items in protocols:
        lists = b"".join(plist(nums) for nums, _ in items) + plist([]) * (10 - len(items))
        electrodes = b"".join(struct.pack("<4I", 0, *e) for _, e in items) + b"\x00" * 16 * (10 - len(items))
        body += lists + electrodes
    return head + body
write("protocol_file", "small.spb", spb([[3, 12], [], list(range(1, 17))],
                                      [[([3, 12], (1, 2, 3)), ([0x80000000, 1], (0, 41, 2**32 - 1))], [], [([5], (4, 4, 4))] * 10]))
write("protocol_file", "short_block.spb", spb([[1]], [[([1], (1, 1, 1))]])[:-10])
write("protocol_file", "version_two.spb", b"TVX\x02" + spb([], [])[4:])

# vorlix.spn
for lang in ("ENG", "HUN"):
    write("protocol_texts", lang.lower() + "_sample.spn", data(lang, "vorlix.spn"))
write("protocol_texts", "odd_sections.spn",
      b"before\r\n#E\r\n" + b"".join(b"Electrode %d with a long name\r\n" % k for k in range(45)) +
      b"#P\r\n  orphan item\r\nFirst\r\n   one\r\n\r\n#X\r\nignored\r\n#S\r\nsession %s\r\n#\r\n#P\r\nlate\n")

# language.fld, caphint.txt, msg.txt: a flag byte, then typed name, list, captions, messages
fld = data("language.fld")
for lang, name in (("ENG", b"English"), ("HUN", b"Magyar")):
    write("language_texts", lang.lower(), b"\x01" + name + b"\n" + SEP + fld + SEP + data(lang, "caphint.txt") +
          SEP + data(lang, "msg.txt"))
write("language_texts", "flag_fails", b"\x00English" + SEP + fld + SEP + b"a+b\r\n" + SEP + b"m\r\n")
write("language_texts", "unlisted", b"\x01Klingon" + SEP + fld + SEP + b"x\r\n" + SEP + b"y\r\n")
write("language_texts", "odd_codes", b"\x01B" + SEP + b"A   AB\r\nB ../\r\nC a\\b\r\n  XYZ\r\nEnglish ENGLISH\r\n" + SEP +
      (b"%s+%n+" + b"c" * 130 + b"\r\n") * 40 + b"\r\n" + SEP + b"%s %n %d\r\n" * 60)

# trv.cff: a byte (bit 0: missing), the file, then a typed name
write("settings_file", "alpha_hungarian", b"\x00" + b"2\r\nAlpha\r\nMagyar\r\n" + SEP + b"English")
write("settings_file", "numerical_english", b"\x00" + b"0\r\nNum\r\nEnglish\r\n" + SEP + b"Magyar")
write("settings_file", "out_of_range", b"\x00" + b"7\nAlphabetical\n" + b"L" * 60 + b"\n" + SEP + b"%s%n" * 20)
write("settings_file", "one_line", b"\x00" + b"-3" + SEP)
write("settings_file", "missing", b"\x01")

# image_build: mode, percentage, then the decoded catalogue and items (see fuzz/image_build.cpp)
def image_input(mode, percentage, programs, templates, items):
    out = bytes([mode, percentage, len(programs), len(templates) - 1])
    out += b"".join(templates)
    for steps, secs, pattern in programs:
        out += bytes([steps]) + struct.pack("<I", secs) + bytes([pattern])
    return out + items
templates = [step(k + 1, 100 * (k + 1), k) for k in range(4)]
write("image_build", "composed", image_input(0, 10, [(3, 60, 1), (5, 300, 2), (0, 30, 0)], templates,
                                            bytes([0, 0, 0, 2, 0, 90, 3, 0, 0, 0, 1, 1, 1, 0, 3])))
write("image_build", "stored_items", image_input(2, 0, [(3, 60, 1), (2, 300, 2)], templates,
                                                bytes([5, 0, 1, 0, 1, 0, 0, 0, 2, 0, 2, 0, 0, 30, 0, 0, 3, 0, 0])))
write("image_build", "self_test", image_input(2, 100, [(3, 60, 1)], templates, bytes([1, 0, 2, 0, 0])))
write("image_build", "large", image_input(0, 255, [(200, 1, 255), (128, 2, 7), (127, 3, 3)], templates,
                                          bytes([1, 0, 1, 1, 0, 1, 1, 0, 2, 1, 0, 0]) * 7))
write("image_build", "damaged", image_input(1, 5, [(4, 1, 1), (4, 2, 2)], templates, b"\x80\x7f\x10\x05" + b"\xff\x90" * 8 +
                                            bytes([0, 0, 0, 0, 0, 1])))

# device_link: device count, 2 bytes per device, then operations (see fuzz/device_link.cpp)
write("device_link", "one_device", bytes([1, 0, 0]) + bytes([0, 1, 0xA0, 1, 0xFF, 64, 0xAF]) +
      bytes([0, 4, 0xC0, 0x02, 0xA4, 0x00, 3]) + bytes([1, 0x10]) + bytes([2, 3, 0, 1, 0xC1, 1]))
write("device_link", "foreign_first", bytes([3, 1, 0, 0, 2, 2, 0]) + bytes([0, 1, 0xA0, 2, 1, 0x30, 5, 1, 2, 3, 4, 5, 4, 2, 3]))
write("device_link", "unplug_replug", bytes([2, 0, 0x80, 0, 0]) + bytes([0, 1, 0xA0, 2, 4, 0, 0, 1, 0xA0, 1, 4, 0, 0, 1, 0xA0, 1, 0x40, 8]))
write("device_link", "refused_open", bytes([1, 0, 2]) + bytes([0, 1, 0xA0, 5, 0, 3, 0, 1, 0xA0, 3, 1, 0x28]))

# download_sequence: settings, start item, control program (count - 1, then two bytes an item), script. Answers of the
# link: a write takes one byte (below 08: no device), a read a kind byte (kind % 10 picks the shape:
# 1 base state, 2 run state, 3 context, 4 the image's summary, 5 start acknowledgement, 6 empty,
# 7 link check), its fields, then a damage byte (below C0: none).
OK = 0xFF
def base_state(state_choice, version=0xFF, fields=(0,) * 10, extra=()):
    return bytes([11, state_choice, *extra, version, *fields, 0])
happy = bytes([0x00, 0x00, 0x00, 0x00, 0x01])          # one item (count 1 + 0): program index 1
happy += bytes([OK, 17, 0, OK])                         # link check, its reply, base-state request
happy += bytes([0x00, OK]) + base_state(0x00)           # tick: fetch, idle base state, image built
happy += bytes([OK])                                    # InfoHead (same tick)
happy += bytes([0x00, OK, 0x00, OK, 0x00, OK])          # Control, Indexs, Therapies
happy += bytes([0x00, OK])                              # summary request
happy += bytes([0x00, OK, 14, 0xFF, 0])                 # fetch, matching summary: verified
happy += bytes([0x04, OK])                              # Start
happy += bytes([0x00, OK, 15, 0])                       # fetch, acknowledgement: started
happy += bytes([0x07, 0x00, 0x00])                      # reopen: no device, error, close step
write("download_sequence", "happy_path", happy)
busy = bytes([0x00, 0x03, 0x01, 0x01, 0x02, 0x02, 0x00])
busy += bytes([OK, 17, 0, OK])
busy += bytes([0x00, OK]) + base_state(0x07, extra=(9,))  # device busy with code 9
busy += bytes([0x00, OK])                                 # warning: abort; abort request
busy += bytes([0x00, OK])                                 # re-start: base-state request
busy += bytes([0x00, OK]) + base_state(0x02) + bytes([OK])  # idle (15) now: InfoHead
busy += bytes([0x00, OK] * 4)
busy += bytes([0x00, OK, 14, 0x07, 0])                    # summary with the index checksum off
busy += bytes([0x00, OK] * 3)
busy += bytes([0x00, OK, 14, 0x03, 0]) + bytes([0x00, OK] * 3) + bytes([0x00, OK, 14, 0x00, 0])
write("download_sequence", "busy_then_resends", busy)
stored = bytes([0x02, 0x01, 0x03]) + struct.pack("<4H", 2, 0x801E, 0xC000, 13)
stored += bytes([OK, 7, 0, OK, 0x00, OK]) + base_state(0x00) + bytes([OK])
write("download_sequence", "stored_program", stored)
write("download_sequence", "twenty_large", bytes([0x01, 0x00, 19]) + bytes([0x00, 9, 0x00, 10]) * 10 +
      bytes([OK, 7, 0, OK, 0x00, OK]) + base_state(0x00) + bytes([0x00] * 8))

# status_sequence: settings, then the script (see download_sequence for the link's answers)
st = bytes([0x02])
st += bytes([OK])                                                   # A: base-state request
st += bytes([0x00, OK]) + base_state(0x00, fields=(0, 0, 0x80, 1, 0, 0, 5, 0, 0, 0)) + bytes([OK])
st += bytes([0x00, OK, 13, 0x01, 0x03, 0x90, 0x02, 0x50, 0x1E, 0x00, 0x90, 0x03, 0])  # C: stored program
st += bytes([0x04])                                                 # WRC: resume
st += bytes([OK, 7, 0, OK])                                         # nested download: link check, base
st += bytes([OK]) + base_state(0x00) + bytes([OK])                  # tick: fetch, idle, InfoHead
st += bytes([OK, OK, OK, OK])                                       # Control, Indexs, Therapies, summary
st += bytes([OK, 14, 0xFF, 0])                                      # verified
st += bytes([0x00, OK, 0xFF, OK, 15, 0])                            # Start, then the acknowledgement
st += bytes([0x00, OK])                                             # A
st += bytes([0x00, OK]) + base_state(0x07, extra=(1,)) + bytes([OK])  # B: running, context request
st += bytes([0x00, OK, 13, 0x01, 0x03, 0x90, 0x02, 0x50, 0x1E, 0x00, 0x90, 0x03, 0])  # C: program list
st += bytes([0x00, OK])                                             # D
st += bytes([0x00, OK, 12, 0x07, 0x01, 0x80, 0x01, 0, 0x3C, 0, 0x78, 0, 0x1E, 0, 0x3C, 0, 0])  # E: running
st += bytes([0x04, OK])                                             # WRC: wait
st += bytes([0x00, OK, 0x00, OK, 12, 0x03, 0x80, 0x02, 0, 0x3C, 0, 0x78, 0, 0, 0, 0, 0, 0])  # waiting
st += bytes([0x04, OK])                                             # WRC: continue
st += bytes([0x00, OK, 0x00, OK, 16, 0])                            # an empty run-state reply
st += bytes([0x05, 0x07, 0x00, 0x00, 0x00])                         # close, reopen: no device twice
st += bytes([0x00, OK, 0x00, OK]) + base_state(0x00, version=0x00) + bytes([0x00])  # refused version, F
write("status_sequence", "resume_and_run", st)
write("status_sequence", "no_device", bytes([0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00]))
write("status_sequence", "empty_and_bad_replies", bytes([0x00, OK, 0x00, OK, 16, 0, 0x00, OK, 0x00, OK, 19, 0x05] +
                                                        [0] * 63 + [0x00, OK, 0x00, OK, 11, 0x00, OK] + [0] * 11))
