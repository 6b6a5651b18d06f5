# The fuzz targets, one per kind of input: fuzz/<name>.cpp with its seeds in fuzz/corpus/<name>/.
# Read by fuzz/CMakeLists.txt (libFuzzer build) and tests/fuzz/CMakeLists.txt (corpus replay).
set(TRV_FUZZ_TARGETS
    catalogue_file
    program_names
    protocol_file
    protocol_texts
    language_texts
    settings_file
    device_replies
    image_build
    device_link
    download_sequence
    status_sequence
    program_file)
