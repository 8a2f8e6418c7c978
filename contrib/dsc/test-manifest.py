#!/usr/bin/env python3
"""Runs the commands kestrune.dsc.resource.json declares, exactly as a configuration engine would
(its arguments, the instance as compressed JSON on standard input), on a fresh emulated machine:
test finds drift, set applies, test then finds none, get and export describe the machine. The
exported file and the instances are checked against the state file's JSON Schema when the
jsonschema module is there. Usage: test-manifest.py KESTRUNEC MACHINE_TOOL"""

import json
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SCHEMA = os.path.join(HERE, "..", "..", "docs", "kestrune-state.schema.json")
HKCU_RUN = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
INSTANCE = {"kestrune-state": 1, "places": {"HKCU_Run": {"mode": "exact", "entries": [
    {"name": "Backup", "command": "C:\\Tools\\backup.exe /tray", "enabled": True}]}}}


def fail(text):
    print("FAILED: " + text)
    sys.exit(1)


def main():
    kestrunec, tool = sys.argv[1], sys.argv[2]
    with open(os.path.join(HERE, "kestrune.dsc.resource.json"), encoding="utf-8") as f:
        manifest = json.load(f)
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, KESTRUNE_APP_DIR=os.path.join(work, "app"),
                   KESTRUNE_MACHINE=os.path.join(work, "machine"))
        os.makedirs(env["KESTRUNE_APP_DIR"])
        subprocess.run([tool, "init"], env=env, check=True, stdout=subprocess.DEVNULL)
        subprocess.run([tool, "reg", "set", HKCU_RUN, "Nagger", "C:\\nag.exe"], env=env, check=True)

        def operation(name, instance=None):
            declared = manifest[name]
            if declared["executable"] != "kestrunec":
                fail(name + " runs " + declared["executable"])
            stdin = None
            if declared.get("input") == "stdin":
                stdin = json.dumps(instance if instance is not None else INSTANCE, separators=(",", ":"))
            done = subprocess.run([kestrunec] + declared["args"], env=env, input=stdin, text=True,
                                  capture_output=True)
            if done.returncode != 0:
                fail("%s exited %d: %s%s" % (name, done.returncode, done.stdout, done.stderr))
            return json.loads(done.stdout)

        drift = operation("test")
        if drift.get("_inDesiredState") is not False:
            fail("test before set: " + json.dumps(drift))
        applied = operation("set")
        if applied.get("changed") is not True:
            fail("set: " + json.dumps(applied))
        matching = operation("test")
        if matching.get("_inDesiredState") is not True:
            fail("test after set: " + json.dumps(matching))
        state = operation("get")
        entries = {e["name"]: e["enabled"] for e in state["places"]["HKCU_Run"]["entries"]}
        if entries != {"Backup": True, "Nagger": False}:
            fail("get: " + json.dumps(state))
        exported = operation("export")
        if exported.get("kestrune-state") != 1 or "UserStartup" not in exported.get("places", {}):
            fail("export: " + json.dumps(exported))

        try:
            import jsonschema
        except ImportError:
            print("jsonschema is not installed: the schema check is left out")
            return
        with open(SCHEMA, encoding="utf-8") as f:
            schema = json.load(f)
        for what in (INSTANCE, exported):
            jsonschema.validate(what, schema)
        jsonschema.validate(state, manifest["schema"]["embedded"])
        bad = {"kestrune-state": 1, "places": {"UserStartup": {"entries": [{"name": "..\\evil"}]}}}
        try:
            jsonschema.validate(bad, schema)
            fail("the schema takes a name with a path separator")
        except jsonschema.ValidationError:
            pass
    print("dsc manifest ok: test, set, test, get, export")


if __name__ == "__main__":
    main()
