// The unit that owns the precompiled Qt header the other targets reuse.
