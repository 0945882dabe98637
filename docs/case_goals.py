#!/usr/bin/env python3
"""Prints each actor's goals from a case exported as JSON, with the standard library only.

    kavo-cli export "My case" --out case.json
    python3 docs/case_goals.py case.json
"""
import json
import sys

PRIORITIES = {0: "dropped", 1: "low", 2: "normal", 3: "high"}


def describe(goal):
    if goal["type"] == "custom":
        return "custom utilities " + " ".join(f"{u:+d}" for u in goal["utilities"])
    verb = "wants" if goal["type"] == "standard" else "avoids"
    return f"{verb} change {goal['level']:+d}, {PRIORITIES[goal['priority']]} priority"


def main(path):
    with open(path, encoding="utf-8") as f:
        case = json.load(f)
    print(case["name"])
    for arena in case.get("arenas", []):
        for record in arena.get("actors", []):
            factors = record.get("perception", {}).get("factors", [])
            goals = [(f["factor"], f["goal"]) for f in factors if "goal" in f]
            print(f"\n{record['actor']} in {arena['name']}: {len(goals)} goals")
            for factor, goal in goals:
                print(f"  {factor}: {describe(goal)}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: case_goals.py CASE.json")
    main(sys.argv[1])
