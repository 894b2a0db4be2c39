Handset1/1.0
