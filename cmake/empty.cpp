// Keeps a component library valid while its folder has no sources yet.
