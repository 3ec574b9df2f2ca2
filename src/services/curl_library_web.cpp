// The browser downloads with its own fetch (http_download_web.cpp): there is no libcurl to open.
