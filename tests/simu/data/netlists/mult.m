tsim = 1.0000e-04
td = 1.0000e-06
points = 100
% Circuit name : /home/user/mult

% Circuit Description
X = [ 'V1        1   0   2.0000e+00                 '   % V1
      'R1        1   0   1.0000e+03                 '   % R1
      'V2        2   0   3.0000e+00                 '   % V2
      'R2        2   0   1.0000e+03                 '   % R2
      'V#M1      3   0   1.0000e+00     5.0000e-01     I02  I03  '   % MUL1
      'R3        3   0   1.0000e+03                 '   % R3
      'I01       3   0   0.0000e+00                 '   % Vp
      'I02       1   0   0.0000e+00                 '  
      'I03       2   0   0.0000e+00                 ' ]

% Output Description
Y = [ 'V         I01                                '   % Vp
      'V         I02                                '  
      'V         I03                                ' ]

% Number of nodes
numn = 4;
