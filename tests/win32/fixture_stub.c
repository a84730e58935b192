int devinette_fixture_marker(void) { return 0; }
