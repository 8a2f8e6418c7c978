#!/usr/bin/python3
# Brings a machine's start-up entries to a Kestrune state file with kestrunec: `apply --check`
# in check mode, `apply` otherwise; "changed" is what kestrunec's JSON says.

DOCUMENTATION = r"""
module: kestrune_state
short_description: Make the programs that start with Windows match a Kestrune state file
description:
  - Runs C(kestrunec apply STATE_FILE --format json), or with C(--check) in check mode, and
    reports C(changed) from its answer. Disabled entries stay restorable in Kestrune's
    settings document; nothing is deleted.
options:
  state_file:
    description: The state file (C("kestrune-state": 1)) on the managed machine.
    required: true
    type: path
  kestrunec:
    description: The console program, a path or a name on PATH.
    default: kestrunec
    type: str
  app_dir:
    description: Kestrune's folder (settings.ini, settings.xml); default the program's own.
    type: path
  machine:
    description: The emulated machine's folder (Linux only).
    type: path
supports_check_mode: true
"""

import json

from ansible.module_utils.basic import AnsibleModule


def entry_lines(changes, side):
    lines = []
    for change in changes:
        value = change.get(side)
        text = json.dumps(value, sort_keys=True) if value is not None else "(absent)"
        lines.append("%s %s: %s" % (change["place"], change["name"], text))
    return "\n".join(lines) + ("\n" if lines else "")


def main():
    module = AnsibleModule(
        argument_spec=dict(
            state_file=dict(type="path", required=True),
            kestrunec=dict(type="str", default="kestrunec"),
            app_dir=dict(type="path"),
            machine=dict(type="path"),
        ),
        supports_check_mode=True,
    )
    params = module.params
    command = [params["kestrunec"]]
    if params["app_dir"]:
        command += ["--app-dir", params["app_dir"]]
    if params["machine"]:
        command += ["--machine", params["machine"]]
    command += ["apply", params["state_file"], "--format", "json"]
    if module.check_mode:
        command.append("--check")

    rc, out, err = module.run_command(command)
    try:
        answer = json.loads(out)
    except ValueError:
        module.fail_json(msg=err.strip() or "kestrunec gave no answer", rc=rc, stdout=out, stderr=err)

    result = dict(changed=bool(answer.get("changed")), summary=answer.get("summary", ""),
                  changes=answer.get("changes", []), rc=rc)
    if module._diff:
        result["diff"] = dict(before_header="machine", after_header=params["state_file"],
                              before=entry_lines(result["changes"], "before"),
                              after=entry_lines(result["changes"], "after"))
    if rc != 0:
        module.fail_json(msg=answer.get("summary") or err.strip(), stderr=err, **result)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
