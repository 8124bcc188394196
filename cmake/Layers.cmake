set(TANDOR_LAYERS platform print store printing shell contacts list exchange compose appshell app)
