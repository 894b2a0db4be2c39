Handset1/2.0 (test)
