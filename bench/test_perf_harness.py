"""Tests of the performance harness's own pieces: the prepared store and the output it reads."""

import os
import tempfile
import unittest

import perf_harness


class PreparedStore(unittest.TestCase):
    def test_record_has_the_game_layout(self):
        record = perf_harness.settings_record("Lumera8.dat", index=70000, show_correct=1, sound=0)
        self.assertEqual(len(record), 152)
        self.assertEqual(record[0:11], b"\x0aLumera 7.0")
        self.assertEqual(record[11], len("Lumera8.dat"))
        self.assertEqual(record[12:23], b"Lumera8.dat")
        self.assertEqual(record[145:148], b"\x01\x00\x00")
        self.assertEqual(int.from_bytes(record[148:152], "little"), 70000)

    def test_store_file_is_a_wrapped_registry_export(self):
        with tempfile.TemporaryDirectory() as home:
            path = perf_harness.write_store(home)
            self.assertEqual(path, os.path.join(home, "lumera8", "registry.reg"))
            with open(path, "rb") as store:
                lines = store.read().decode("ascii").split("\r\n")
        self.assertEqual(lines[0], "REGEDIT4")
        self.assertEqual(lines[2], "[HKEY_LOCAL_MACHINE\\Software\\Lumera800]")
        value = lines[3:lines.index("", 3)]
        self.assertTrue(value[0].startswith('"fRegInfo"=hex:'))
        self.assertTrue(all(line.endswith("\\") for line in value[:-1]))
        self.assertTrue(all(len(line) <= 80 for line in value))
        joined = "".join(line.rstrip("\\").strip() for line in value)[len('"fRegInfo"=hex:'):]
        self.assertEqual(bytes(int(pair, 16) for pair in joined.split(",")), perf_harness.settings_record())


class OutputLines(unittest.TestCase):
    def test_measurement_lines_are_read_and_the_rest_ignored(self):
        output = ("QStandardPaths: XDG_RUNTIME_DIR not set\n"
                  "LUMERA_PERF first_paint_end_ns=123 startup_ms=31.5 vmhwm_kb=26000 vmrss_kb=25000\n"
                  "LUMERA_PERF full_repaint median_us=98.5 p90_us=120 n=500 device_ratio=2.000000\n")
        results = perf_harness.parse_perf_lines(output)
        self.assertEqual(results["first_paint"]["startup_ms"], 31.5)
        self.assertEqual(results["first_paint"]["vmhwm_kb"], 26000)
        self.assertEqual(results["full_repaint"]["median_us"], 98.5)
        self.assertEqual(results["full_repaint"]["device_ratio"], 2.0)
        self.assertEqual(set(results), {"first_paint", "full_repaint"})


if __name__ == "__main__":
    unittest.main()
