"""The rule `make bench` applies to its figures (bench/check.py): a target
is the most a figure may be, and a figure more than 20% above the committed
one is a regression."""

import importlib.util
import json
import os

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
found = importlib.util.spec_from_file_location("bench_check", os.path.join(ROOT, "bench", "check.py"))
check = importlib.util.module_from_spec(found)
found.loader.exec_module(check)


def figure(value, target=None, checked=True):
    return {"value": value, "target": target, "checked": checked, "note": ""}


@pytest.mark.parametrize("name,fig,committed,failures", [
    ("overhead: a", figure(1.05, 1.10), 1.00, 0),
    ("overhead: a", figure(1.11, 1.10), 1.10, 1),            # misses its target
    ("tables: a", figure(1.25), 1.00, 1),                    # 25% above the committed figure
    ("tables: a", figure(1.19), 1.00, 0),
    ("tables: a", figure(1.30, 1.20), 1.00, 2),              # both
    ("tables: a", figure(9.0, checked=False), 1.00, 0),      # reported only
    ("tables: a", figure(9.0), None, 0),                     # nothing committed yet
    ("memory: growth, KiB", figure(200.0, 1024.0), 0.0, 0),  # noise around nothing
    ("memory: growth, KiB", figure(300.0, 1024.0), 0.0, 1),
    ("memory: blocks left", figure(1, 0), 0, 2),
])
def test_a_figure_fails_on_its_target_and_on_a_regression(name, fig, committed, failures):
    assert len(check.judge(name, fig, committed)) == failures


def test_update_records_the_checked_figures_only(tmp_path, monkeypatch):
    results = tmp_path / "results"
    results.mkdir()
    (results / "tables.json").write_text(json.dumps({"bench": "tables", "figures": {
        "kept": figure(1.5, 3.0), "reported": figure(4.0, checked=False)}}))
    baseline = tmp_path / "baseline.json"
    baseline.write_text(json.dumps({"overhead": {"other": 1.0}}))
    monkeypatch.setattr(check, "BASELINE", str(baseline))
    assert check.main(["--update", str(results), "tables"]) == 0
    assert json.loads(baseline.read_text()) == {"overhead": {"other": 1.0}, "tables": {"kept": 1.5}}
    (results / "tables.json").write_text(json.dumps({"bench": "tables", "figures": {"kept": figure(1.9, 3.0)}}))
    assert check.main([str(results), "tables"]) == 1
