# The help file's rich text reader on arbitrary bytes.
tallivox_add_fuzzer(fuzz_rtf tallivox_rtf)
