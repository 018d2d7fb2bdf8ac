#!/usr/bin/python3
"""Validates BeerJSON 1.0 documents against the schema in third_party/beerjson/, offline.

Usage: validate_beerjson.py FILE.json [FILE.json ...]
Exit status: 0 all valid, 1 some invalid (each error printed with its JSON path), 2 a file could
not be read or parsed, or no file was given.

Needs Debian's python3-jsonschema (run with /usr/bin/python3). The schema files name each other
by relative $refs against their absolute $ids; all of them are put in the resolver's store, so
the validator never tries to download one.
"""
import glob
import json
import os
import sys
import warnings

warnings.filterwarnings("ignore", category=DeprecationWarning)  # RefResolver, jsonschema >= 4.18
import jsonschema
from jsonschema import Draft7Validator, RefResolver

SCHEMA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "third_party",
                          "beerjson")
ROOT_ID = "https://raw.githubusercontent.com/beerjson/beerjson/master/json/beer.json"


def make_validator():
    store = {}
    for path in glob.glob(os.path.join(SCHEMA_DIR, "*.json")):
        with open(path, encoding="utf-8") as fh:
            schema = json.load(fh)
        store[schema["$id"]] = schema
    root = store[ROOT_ID]
    Draft7Validator.check_schema(root)
    resolver = RefResolver(base_uri=root["$id"], referrer=root, store=store)
    return Draft7Validator(root, resolver=resolver,
                           format_checker=Draft7Validator.FORMAT_CHECKER)


def main(paths):
    if not paths:
        print(__doc__, file=sys.stderr)
        return 2
    validator = make_validator()
    invalid = 0
    for path in paths:
        try:
            with open(path, encoding="utf-8") as fh:
                document = json.load(fh)
        except (OSError, ValueError) as error:
            print(f"{path}: cannot read or parse: {error}")
            return 2
        errors = sorted(validator.iter_errors(document), key=lambda e: list(e.absolute_path))
        for error in errors:
            where = "/" + "/".join(str(p) for p in error.absolute_path)
            print(f"{path}: {where}: {error.message}")
            if error.context:
                best = jsonschema.exceptions.best_match(error.context)
                inner = "/" + "/".join(str(p) for p in best.absolute_path)
                print(f"    (closest: {inner}: {best.message})")
        if errors:
            invalid += 1
            print(f"{path}: INVALID ({len(errors)} errors)")
    return 1 if invalid else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
