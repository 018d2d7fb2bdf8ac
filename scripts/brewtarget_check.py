#!/usr/bin/python3
"""Imports BeerXML 1.0 files into Brewtarget, headless, and checks that what it stored is what the
files say: the records' names, their counts, and a few amounts in metric units.

Usage: brewtarget_check.py FILE.xml [FILE.xml ...]
Exit status: 0 every file imported and matched, 1 a file was rejected or stored something else,
2 Brewtarget or sqlite3 is missing or a file cannot be read.

Each import goes into a throwaway user folder (its own HOME, config and database, seeded by
Brewtarget from its default database), with Qt's offscreen platform, so nothing needs a display
and nothing of the user's is touched. The seeded database already holds records: what an import
added is every row whose id is above the seeded maximum. Brewtarget renames a record whose name
it already holds to "Name (1)", and stores an ingredient of a recipe twice (the ingredient and
the recipe's own copy), so names are compared without that suffix and counts of ingredient lists
through the recipe's junction tables.
"""
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SEEDED = "/usr/share/brewtarget/default_db.sqlite"

# Record element -> (table, {element: column}) for the amounts compared.
TABLES = {
    "HOP": ("hop", {"ALPHA": "alpha", "AMOUNT": "amount", "TIME": "time"}),
    "FERMENTABLE": ("fermentable", {"AMOUNT": "amount", "YIELD": "yield", "COLOR": "color"}),
    "MISC": ("misc", {"AMOUNT": "amount", "TIME": "time"}),
    "YEAST": ("yeast", {"AMOUNT": "amount", "ATTENUATION": "attenuation"}),
    "WATER": ("water", {"AMOUNT": "amount", "CALCIUM": "calcium"}),
    "STYLE": ("style", {"OG_MIN": "og_min", "OG_MAX": "og_max"}),
    "MASH": ("mash", {"GRAIN_TEMP": "grain_temp"}),
    "RECIPE": ("recipe", {"BATCH_SIZE": "batch_size", "BOIL_SIZE": "boil_size"}),
}
LISTS = {"FERMENTABLES": "fermentable", "HOPS": "hop", "MISCS": "misc", "YEASTS": "yeast",
         "WATERS": "water"}


def base_name(name):
    return re.sub(r" \(\d+\)$", "", name)


def close(a, b):
    return abs(a - b) <= 1e-6 * max(1.0, abs(a), abs(b))


def import_file(path, work):
    for d in ("home", "userdir", "tmp", "runtime"):
        os.makedirs(os.path.join(work, d), exist_ok=True)
    os.chmod(os.path.join(work, "runtime"), 0o700)
    home = os.path.join(work, "home")
    env = {"PATH": "/usr/bin:/bin", "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8", "HOME": home,
           "XDG_CONFIG_HOME": os.path.join(home, ".config"),
           "XDG_DATA_HOME": os.path.join(home, ".local/share"),
           "XDG_CACHE_HOME": os.path.join(home, ".cache"),
           "XDG_RUNTIME_DIR": os.path.join(work, "runtime"), "TMPDIR": os.path.join(work, "tmp"),
           "QT_QPA_PLATFORM": "offscreen"}
    try:
        run = subprocess.run(["brewtarget", "--user-dir", os.path.join(work, "userdir"),
                              "--from-xml", os.path.abspath(path)], env=env,
                             capture_output=True, text=True, errors="replace", timeout=120)
    except subprocess.TimeoutExpired:
        return None, "Brewtarget timed out"
    if run.returncode != 0:
        errors = [l for l in (run.stdout + run.stderr).splitlines() if "ERROR" in l or "CRITICAL" in l]
        return None, "Brewtarget exit status %d: %s" % (run.returncode, " | ".join(errors[:3]))
    return os.path.join(work, "userdir", "database.sqlite"), None


def check(path):
    """The problems found with one file; empty when it imported as written."""
    root = ET.parse(path).getroot()
    work = tempfile.mkdtemp(prefix="kegverter-interop.")
    try:
        db_path, error = import_file(path, work)
        if error:
            return [error]
        seeded = sqlite3.connect("file:%s?mode=ro" % SEEDED, uri=True)
        db = sqlite3.connect("file:%s?mode=ro" % db_path, uri=True)
        problems = []

        records = list(root)
        if not records or records[0].tag not in TABLES:
            return ["no records"]
        table, fields = TABLES[records[0].tag]
        top = seeded.execute("select ifnull(max(id), 0) from %s" % table).fetchone()[0]
        rows = db.execute("select id, name, %s from %s order by id"
                          % (", ".join(fields.values()), table)).fetchall()
        added = [r for r in rows if r[0] > top]
        if not added:
            problems.append("nothing stored")
        # Each record must be in the database with its values: normally as a new row, or, when
        # Brewtarget judged it the same as a seeded one, as that row.
        for record in records:
            name = record.findtext("NAME") or ""
            candidates = [r for r in added if base_name(r[1]) == name]
            candidates += [r for r in rows if r[0] <= top and r[1] == name]
            matching = [r for r in candidates if all(
                record.findtext(e) is None or close(float(record.findtext(e)), float(v))
                for e, v in zip(fields, r[2:]))]
            seeded_same = [r for r in rows if r[0] <= top and r[1] == name]
            if not matching and seeded_same and not any(base_name(r[1]) == name for r in added):
                # Brewtarget took the record for one it ships (same name, type and use) and kept
                # its own: nothing of ours to compare.
                print("   note: %s %r: Brewtarget kept its own record of that name" % (table, name))
                continue
            if not matching:
                problems.append("%s %r not stored with the values written (%s)" % (
                    table, name, "; ".join(str(r[1:]) for r in candidates) or "no such name"))
                continue
            added = [r for r in added if r is not matching[0]]
            if record.tag == "RECIPE":
                problems += check_recipe(db, record, matching[0][0])
        seeded.close()
        db.close()
        return problems
    finally:
        shutil.rmtree(work, ignore_errors=True)


def check_recipe(db, recipe, recipe_id):
    problems = []
    for list_tag, kind in LISTS.items():
        written = list(recipe.find(list_tag) or [])
        stored = db.execute(
            "select t.name, t.amount from %s_in_recipe j join %s t on t.id = j.%s_id "
            "where j.recipe_id = ? order by j.id" % (kind, kind, kind), (recipe_id,)).fetchall()
        if len(stored) != len(written):
            problems.append("recipe %s: %d written, %d stored" % (kind, len(written), len(stored)))
            continue
        for element, (name, amount) in zip(written, stored):
            if base_name(name) != element.findtext("NAME") and name != element.findtext("NAME"):
                problems.append("recipe %s %r stored as %r" % (kind, element.findtext("NAME"), name))
            if not close(float(element.findtext("AMOUNT")), float(amount)):
                problems.append("recipe %s %r amount: wrote %s, stored %s"
                                % (kind, name, element.findtext("AMOUNT"), amount))
    return problems


def main(paths):
    if not paths:
        print(__doc__, file=sys.stderr)
        return 2
    if shutil.which("brewtarget") is None or not os.path.exists(SEEDED):
        print("brewtarget_check: Brewtarget is not installed", file=sys.stderr)
        return 2
    status = 0
    for path in paths:
        try:
            problems = check(path)
        except (OSError, ET.ParseError) as error:
            print("%s: cannot read: %s" % (path, error))
            return 2
        if problems:
            status = 1
            print("FAILED   %s" % path)
            for p in problems:
                print("   " + p)
        else:
            print("imported %s (%d records)" % (path, len(list(ET.parse(path).getroot()))))
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
