#!/usr/bin/env python3
"""Checks recorded bot protocol lines against docs/bot-messages.schema.json.

Usage: schema_check.py SCHEMA FILE...: every line of every FILE must be a
message the schema allows; the five message types must all be there; and a
few broken copies of them must be refused, so that a checker that lets
everything through fails. It knows the part of JSON Schema the schema uses
(standard library only).
"""

import copy
import json
import sys

TYPES = {
    "object": lambda v: isinstance(v, dict),
    "array": lambda v: isinstance(v, list),
    "string": lambda v: isinstance(v, str),
    "integer": lambda v: isinstance(v, int) and not isinstance(v, bool),
    "number": lambda v: isinstance(v, (int, float)) and not isinstance(v, bool),
    "null": lambda v: v is None,
}


def valid(value, schema, root):
    if "$ref" in schema:
        target = root
        for part in schema["$ref"].removeprefix("#/").split("/"):
            target = target[part]
        if not valid(value, target, root):
            return False
    if "type" in schema:
        kinds = schema["type"] if isinstance(schema["type"], list) else [schema["type"]]
        if not any(TYPES[k](value) for k in kinds):
            return False
    if "const" in schema and value != schema["const"]:
        return False
    if "enum" in schema and value not in schema["enum"]:
        return False
    if TYPES["number"](value):
        if value < schema.get("minimum", value) or value > schema.get("maximum", value):
            return False
    if isinstance(value, dict):
        if any(key not in value for key in schema.get("required", [])):
            return False
        properties = schema.get("properties", {})
        for key, member in value.items():
            if key in properties:
                if not valid(member, properties[key], root):
                    return False
            elif schema.get("additionalProperties", True) is False:
                return False
    if isinstance(value, list):
        if not schema.get("minItems", 0) <= len(value) <= schema.get("maxItems", len(value)):
            return False
        if "items" in schema and not all(valid(v, schema["items"], root) for v in value):
            return False
    if "oneOf" in schema:
        if sum(valid(value, s, root) for s in schema["oneOf"]) != 1:
            return False
    return True


def main():
    schema = json.load(open(sys.argv[1]))
    seen = {}
    for path in sys.argv[2:]:
        for number, line in enumerate(open(path), 1):
            message = json.loads(line)
            if not valid(message, schema, schema):
                sys.exit(f"{path}:{number}: not a message the schema allows: {line[:200]}")
            seen.setdefault(message.get("type"), message)
    missing = {"start", "turn", "end", "ready", "orders"} - set(seen)
    if missing:
        sys.exit(f"no {', '.join(sorted(missing))} message recorded")
    broken = []
    for kind, key in [("start", "seed"), ("turn", "changed"), ("end", "places")]:
        m = copy.deepcopy(seen[kind])
        del m[key]
        broken.append(m)
    m = copy.deepcopy(seen["turn"])
    m["entities"] = [{"slot": 300}]
    broken.append(m)
    broken.append({"type": "orders", "orders": [{"slot": 1, "do": "fly"}]})
    for m in broken:
        if valid(m, schema, schema):
            sys.exit(f"a broken message is allowed: {json.dumps(m)[:200]}")
    print(f"ok: {sum(1 for p in sys.argv[2:] for _ in open(p))} lines")


if __name__ == "__main__":
    main()
