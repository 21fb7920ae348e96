// Placeholder translation unit until the shared game lands.
