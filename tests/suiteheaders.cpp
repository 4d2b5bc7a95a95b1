// The translation unit the suites' precompiled headers are built from.
