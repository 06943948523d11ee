# Writes the OpenAPI file into a C++ source, so the binary serves the file it was built with.
file(READ "${INPUT}" content)
file(WRITE "${OUTPUT}.new"
    "#include \"OpenApi.h\"\n\n"
    "namespace zifferix::service {\n"
    "const std::string_view kOpenApi = R\"zifferix-yaml(${content})zifferix-yaml\";\n"
    "}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
