// The source of the targets that only make the precompiled headers the others reuse.
