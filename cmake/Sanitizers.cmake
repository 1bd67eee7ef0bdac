if(TINTARO_SANITIZE)
  # Every object of the sanitizer build is instrumented; any report aborts the test that caused it.
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
