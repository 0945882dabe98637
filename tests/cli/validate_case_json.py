#!/usr/bin/env python3
"""Checks JSON documents against the case schema.

usage: validate_case_json.py SCHEMA [--invalid] FILE...

Exit status 0 when every file is valid (with --invalid: when every file is refused),
1 otherwise, with one line per file that came out otherwise.
"""
import json
import sys

from jsonschema import Draft202012Validator


def main(arguments):
    schema_file, *files = arguments
    expect_valid = True
    if files and files[0] == "--invalid":
        expect_valid = False
        files = files[1:]
    with open(schema_file, encoding="utf-8") as f:
        schema = json.load(f)
    Draft202012Validator.check_schema(schema)
    validator = Draft202012Validator(schema)
    wrong = 0
    for name in files:
        with open(name, encoding="utf-8") as f:
            errors = list(validator.iter_errors(json.load(f)))
        if expect_valid and errors:
            wrong += 1
            error = errors[0]
            print(f"{name}: /{'/'.join(map(str, error.absolute_path))}: {error.message}")
        elif not expect_valid and not errors:
            wrong += 1
            print(f"{name}: valid, but should not be")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
