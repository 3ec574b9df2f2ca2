extern "C" int vellum_test_plugin_placeholder() { return 0; }
