#!/usr/bin/env python3
"""Reads the dependency graphs that `kavo-cli graph` writes as Pajek networks back with igraph and
networkx, and checks them against the analysis table of the report that `kavo-cli analyse` writes
with the same options: vertex names, arc directions and signed weights, nothing left out.

usage: pajek_readback.py KAVO_CLI EXAMPLE_CASE_FOLDER

Exits 77 (skipped) when python3-igraph or python3-networkx is missing."""

import html.parser
import json
import math
import os
import random
import subprocess
import sys
import tempfile

try:
    import igraph
    import networkx
except ImportError:
    print("python3-igraph and python3-networkx are needed for this test: skipped")
    sys.exit(77)

# Analyses whose table draws a graph, with their family and whether an arrow runs from the row
# to the column (otherwise from the column to the row).
GRAPH_ANALYSES = {
    "Issue Linkage": ("arena", False),
    "Support and Opposition": ("actor", False),
    "Similarity of Perceived Causality": ("actor", True),
    "Conflict": ("actor", False),
    "Resource Dependency": ("actor", True),
}
# Grouping for every run: each arena and each actor a node of its own.
GROUPING = ["--arena-grouping", "3", "--actor-grouping", "3"]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(cli, *arguments):
    return subprocess.run([cli, *arguments], capture_output=True, text=True)


class TableParser(html.parser.HTMLParser):
    """The rows of every table of a report, each a list of (tag, attributes, text) cells; nested
    tables go into their cell's text."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.tables = {}
        self.heading = None
        self.in_heading = False
        self.depth = 0
        self.rows = None
        self.cell = None

    def handle_starttag(self, tag, attrs):
        if tag == "p" and ("class", "bihdr") in attrs:
            self.in_heading = True
            self.heading = ""
        elif tag == "table":
            self.depth += 1
            attributes = dict(attrs)
            # A cell whose value is carried in the class of an inner table: the graph reads that.
            if self.depth > 1 and self.cell is not None and "class" in attributes:
                self.cell[1].setdefault("value", attributes["class"])
            if self.depth == 1:
                self.rows = []
                self.tables.setdefault(self.heading, self.rows)
        elif self.depth == 1 and tag == "tr":
            self.rows.append([])
        elif self.depth == 1 and tag in ("td", "th"):
            self.cell = [tag, dict(attrs), ""]
            self.rows[-1].append(self.cell)
        elif tag == "img" and self.cell is not None:
            self.cell[1].setdefault("img", dict(attrs).get("src", ""))

    def handle_endtag(self, tag):
        if tag == "p":
            self.in_heading = False
        elif tag == "table":
            self.depth -= 1

    def handle_data(self, data):
        if self.in_heading:
            self.heading += data
        elif self.depth >= 1 and self.cell is not None:
            self.cell[2] += data


def value_of(text):
    """A cell's number as the graph reads it: "%" dropped, "." or "," as separator, 0 for none."""
    text = text.replace("%", "").strip()
    for candidate in (text, text.replace(",", ".") if "." not in text else None):
        if candidate is None:
            continue
        try:
            value = float(candidate)
            if math.isfinite(value):
                return value
        except ValueError:
            pass
    return 0.0


def cell_value(cell):
    return value_of(cell[1].get("value", cell[2]))


def plotted(header_cells):
    """Positions and names of the columns that the graph plots: all but the tactic columns."""
    return [(i, cell[2].strip()) for i, cell in enumerate(header_cells)
            if not cell[1].get("img", "").endswith("tactic.gif")]


def unique(names):
    """The names in order, each once: columns of the same name (an actor in several arenas) are
    one node of the graph."""
    return list(dict.fromkeys(names))


def span(cell):
    return int(cell[1].get("colspan", "1"))


def arena_table(rows, reversed_arrows):
    """Nodes, indicator names and cells [(from, to, [values])] of an arena table."""
    columns = [cell[2].strip() for cell in rows[0][1:]]
    n = span(rows[0][1])
    fields = plotted(rows[1][2:2 + n])
    cells = []
    for row in rows[2:]:
        name = row[0][2].strip()
        values = row[1:]
        for c, column in enumerate(columns):
            ends = (name, column) if reversed_arrows else (column, name)
            chunk = values[c * n:(c + 1) * n]
            cells.append((*ends, [cell_value(chunk[i]) for i, _ in fields]))
    return unique(columns), fields, cells


def actor_table(rows, reversed_arrows):
    """Nodes, indicator names and cells of an actor-actor table: arenas over actors as columns,
    rows under an arena heading that spans them."""
    columns = [cell[2].strip() for cell in rows[1] if cell[0] == "td"]
    n = span(next(cell for cell in rows[1] if cell[0] == "td"))
    fields = plotted(rows[2][-n * len(columns):][:n])
    cells = []
    for row in rows[3:]:
        headers = [cell for cell in row if cell[0] == "th"]
        name = headers[-1][2].strip()
        values = [cell for cell in row if cell[0] == "td"][-n * len(columns):]
        for c, column in enumerate(columns):
            ends = (name, column) if reversed_arrows else (column, name)
            chunk = values[c * n:(c + 1) * n]
            cells.append((*ends, [cell_value(chunk[i]) for i, _ in fields]))
    return unique(columns), fields, cells


def level(value, low, high, symmetric, levels=5):
    if not high > low:
        return 1
    a = (value - low) / (high - low)
    if not symmetric:
        if a < 0:
            return 0
        return math.floor(a * levels) + 1 if a < 1 else levels
    a = 2 * a - 1
    if abs(a) < 0.0005:
        return 0
    return min(levels, math.floor(abs(a) * levels) + 1) if -1 <= a < 1 else levels


def expected_arcs(cells, indicator, symmetric):
    values = [v[indicator] for _, _, v in cells]
    low, high = min(values), max(values)
    if symmetric:
        low, high = -max(abs(low), abs(high)), max(abs(low), abs(high))
    arcs = []
    for source, target, v in cells:
        weight = level(v[indicator], low, high, symmetric)
        if weight > 0:
            arcs.append((source, target, -weight if symmetric and v[indicator] < 0 else weight))
    return sorted(arcs)


def read_back(path, label):
    """The network as (vertex names, sorted arcs) by igraph and by networkx."""
    with open(path, "rb") as file:
        text = file.read().decode()
    lines = text.split("\r\n")
    check(lines[0].startswith("*Network ") and lines[1].startswith("*Vertices "),
          f"{label}: the vertices do not come first")
    check(text.endswith("\r\n") and "\n" not in text.replace("\r\n", ""),
          f"{label}: lines are not ended by carriage return and line feed")
    g = igraph.Graph.Read_Pajek(path)
    check(g.is_directed(), f"{label}: igraph reads an undirected network")
    by_igraph = ([v["id"] for v in g.vs],
                 sorted((g.vs[e.source]["id"], g.vs[e.target]["id"], int(e["weight"]))
                        for e in g.es))
    x = networkx.read_pajek(path)
    check(x.is_directed() and x.is_multigraph(), f"{label}: networkx reads no directed network")
    by_networkx = (list(x.nodes),
                   sorted((s, t, int(d["weight"])) for s, t, d in x.edges(data=True)))
    return by_igraph, by_networkx


def check_analysis(cli, folder, title, scratch, extra=()):
    family, reversed_arrows = GRAPH_ANALYSES[title]
    report = os.path.join(scratch, "Analysis.htm")
    analysed = run(cli, "analyse", folder, "--analysis", title, "--all-fields", *GROUPING,
                   *extra, "--out", report)
    check(analysed.returncode in (0, 1), f"{title}: analyse failed: {analysed.stderr}")
    parser = TableParser()
    with open(report, encoding="utf-8", errors="replace") as file:
        parser.feed(file.read())
    rows = parser.tables.get(title)
    if not rows:
        failures.append(f"{title}: no table in the report of {folder}")
        return 0
    if any("No analyisis defined" in cell[2] for row in rows for cell in row):
        return 0
    reader = arena_table if family == "arena" else actor_table
    nodes, fields, cells = reader(rows, reversed_arrows)
    checked = 0
    for indicator in range(len(fields)):
        for symmetric in (False, True):
            label = f"{os.path.basename(folder)}: {title}, field {indicator + 1}" + (
                " symmetric" if symmetric else "")
            network = os.path.join(scratch, "graph.net")
            if os.path.exists(network):
                os.remove(network)
            written = run(cli, "graph", folder, "--analysis", title, "--all-fields", *GROUPING,
                          *extra, "--field", str(indicator + 1), "--format", "pajek", "--out",
                          network, *(["--symmetric"] if symmetric else []))
            if written.returncode != 0:
                failures.append(f"{label}: graph exited {written.returncode}: {written.stderr}")
                continue
            wanted = (nodes, expected_arcs(cells, indicator, symmetric))
            for reader_name, got in zip(("igraph", "networkx"), read_back(network, label)):
                check(got[0] == wanted[0],
                      f"{label}: {reader_name} reads vertices {got[0]}, the table has {wanted[0]}")
                missing = [arc for arc in wanted[1] if arc not in got[1]][:5]
                surplus = [arc for arc in got[1] if arc not in wanted[1]][:5]
                check(got[1] == wanted[1],
                      f"{label}: {reader_name} reads {len(got[1])} arcs, the table gives "
                      f"{len(wanted[1])}; missing {missing}, not in the table {surplus}")
            checked += 1
    return checked


def generated_case(seed):
    """A case of several arenas that share actors and factors, named with blanks, apostrophes,
    commas and brackets."""
    rng = random.Random(seed)
    arena_names = ["Raising the dam", "O'Brien's farm, north", "Flood plain (lower)",
                   "Dry  summer", "Tariffs 2027-2030", "Fish & reeds"]
    actor_names = ["City of Greenford", "Valley farmers", "River Trust", "Hydro company",
                   "Anglers' club", "Regional council"]
    factors = [f"Factor {i}" for i in range(12)]
    arenas = []
    for arena in arena_names:
        actors = []
        for actor in rng.sample(actor_names, rng.randint(2, 4)):
            chosen = rng.sample(factors, rng.randint(3, 6))
            perception_factors = []
            for i, factor in enumerate(chosen):
                entry = {"factor": factor, "x": 40 + 120 * i, "y": 60 + 40 * (i % 3)}
                if rng.random() < 0.4:
                    entry["goal"] = {"type": "standard", "level": rng.choice([-2, -1, 1, 2, 3]),
                                     "priority": rng.randint(1, 3)}
                perception_factors.append(entry)
            links = [{"from": a, "to": b, "level": rng.choice([-2, -1, 1, 2]), "uncertainty": 0}
                     for a, b in zip(chosen, chosen[1:]) if rng.random() < 0.7]
            actors.append({"actor": actor,
                           "perception": {"factors": perception_factors, "links": links}})
        arenas.append({"name": arena, "actors": actors})
    return {
        "format": "KAVO case", "version": 1, "name": "Generated basin",
        "factors": [{"name": f} for f in factors],
        "actors": [{"name": a, "shortName": f"A{i}"} for i, a in enumerate(actor_names)],
        "arenas": arenas,
    }


def check_refusals(cli, scratch):
    """A node that Pajek cannot carry is refused with a message naming it; nothing is written."""
    case = generated_case(7)
    case["arenas"][0]["name"] = "Back\\slash basin"
    document = os.path.join(scratch, "refused.json")
    with open(document, "w", encoding="utf-8") as file:
        json.dump(case, file)
    folder = os.path.join(scratch, "refused")
    imported = run(cli, "import", document, folder)
    if imported.returncode not in (0, 1):
        failures.append(f"import of the case with a backslash failed: {imported.stderr}")
        return
    network = os.path.join(scratch, "refused.net")
    refused = run(cli, "graph", folder, "--analysis", "Issue Linkage", "--all-fields", *GROUPING,
                  "--format", "pajek", "--out", network)
    check(refused.returncode == 2, f"a backslash in a node name exits {refused.returncode}")
    check("Back\\slash basin" in refused.stderr and "backslash" in refused.stderr,
          f"the refusal does not name the node: {refused.stderr!r}")
    check(not os.path.exists(network), "a refused network was written all the same")
    no_graph = run(cli, "graph", folder, "--analysis", "Relevance", "--format", "pajek", "--out",
                   network)
    check(no_graph.returncode == 2 and "no graph" in no_graph.stderr,
          f"an analysis without a graph: exit {no_graph.returncode}, {no_graph.stderr!r}")


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    cli, example = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as scratch:
        generated = os.path.join(scratch, "generated")
        document = os.path.join(scratch, "generated.json")
        with open(document, "w", encoding="utf-8") as file:
            json.dump(generated_case(2026), file)
        imported = run(cli, "import", document, generated)
        if imported.returncode not in (0, 1):
            print(f"import of the generated case failed: {imported.stderr}")
            return 1
        networks = 0
        for folder in (example, generated):
            for title in GRAPH_ANALYSES:
                networks += check_analysis(cli, folder, title, scratch)
        check(networks > 0, "no network was checked")
        check_refusals(cli, scratch)
    for failure in failures:
        print("FAIL", failure)
    print(f"{networks} networks read back with igraph and networkx; {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
