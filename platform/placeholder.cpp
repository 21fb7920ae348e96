// Placeholder translation unit until the SDL layer lands.
