"""Checks an HTTP exchange against the service's OpenAPI 3.0 file."""

import copy
import json
import re

import jsonschema
import yaml


def _as_json_schema(node):
    """OpenAPI 3.0's `nullable` in JSON Schema's words (draft 4 knows only type lists)."""
    if isinstance(node, list):
        return [_as_json_schema(item) for item in node]
    if not isinstance(node, dict):
        return node
    node = {key: _as_json_schema(value) for key, value in node.items()}
    if node.pop("nullable", False):
        if "type" in node:
            node["type"] = [node["type"], "null"]
        if "enum" in node:
            node["enum"] = node["enum"] + [None]
    return node


class Contract:
    def __init__(self, path, prefix="/api"):
        with open(path, encoding="utf-8") as file:
            self.document = yaml.safe_load(file)
        self.schemas = _as_json_schema(copy.deepcopy(self.document))
        self.resolver = jsonschema.RefResolver("", self.schemas)
        self.prefix = prefix
        self.answered = set()  # the operations checked, by operationId
        self.routes = [
            (re.compile("^" + re.sub(r"\{[^}]+\}", "[^/]+", template) + "$"), item)
            for template, item in self.schemas["paths"].items()
        ]

    def resolve(self, node):
        while isinstance(node, dict) and "$ref" in node:
            node = self.resolver.resolve(node["$ref"])[1]
        return node

    def every_reference(self, node=None):
        """Every `$ref` in the file, each resolved once (a dangling one raises)."""
        node = self.document if node is None else node
        if isinstance(node, dict):
            if "$ref" in node:
                self.resolve(node)
            for value in node.values():
                self.every_reference(value)
        elif isinstance(node, list):
            for value in node:
                self.every_reference(value)

    def operations(self):
        return {operation["operationId"] for item in self.document["paths"].values()
                for operation in item.values() if isinstance(operation, dict)}

    def operation(self, method, path):
        path = path.split("?", 1)[0]
        if not path.startswith(self.prefix + "/"):
            raise AssertionError(f"{path} is not under {self.prefix}/")
        path = path[len(self.prefix):]
        for pattern, item in self.routes:
            if pattern.match(path) and method.lower() in item:
                return item[method.lower()]
        raise AssertionError(f"{method} {path} is not described")

    def validate(self, schema, value, what):
        validator = jsonschema.Draft4Validator(schema, resolver=self.resolver)
        errors = sorted(validator.iter_errors(value), key=lambda error: list(error.path))
        if errors:
            raise AssertionError(f"{what}: {errors[0].message} at {list(errors[0].path)}")

    def check(self, method, path, status, headers, body):
        """Raises AssertionError unless the answer is one the file describes."""
        what = f"{method} {path} -> {status}"
        operation = self.operation(method, path)
        self.answered.add(operation["operationId"])
        responses = operation["responses"]
        response = responses.get(str(status)) or responses.get(f"{status // 100}XX")
        if response is None:
            raise AssertionError(f"{what}: status not described")
        response = self.resolve(response)
        for name, header in response.get("headers", {}).items():
            header = self.resolve(header)
            value = headers.get(name.lower())
            if value is None:
                if header.get("required"):
                    raise AssertionError(f"{what}: header {name} missing")
                continue
            schema = header.get("schema", {})
            if schema.get("type") == "integer":
                value = int(value)
            self.validate(schema, value, f"{what}, header {name}")
        content = response.get("content")
        if not content:
            if body:
                raise AssertionError(f"{what}: a body where none is described")
            return None
        media = headers.get("content-type", "").split(";")[0].strip()
        if media not in content:
            raise AssertionError(f"{what}: content type {media!r}, described {list(content)}")
        if media != "application/json":
            return None
        value = json.loads(body.decode("utf-8"))
        self.validate(content[media]["schema"], value, what)
        return value
